' A call of an unknown function is a call of an empty variable.
x = filelen("c:\windows\notepad.exe") ' expect error 13: Type mismatch: 'filelen'
