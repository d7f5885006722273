' Arrays nested a million deep go without exhausting the stack.
a = Array()
For i = 1 To 1000000
  a = Array(a)
Next
a = Empty
WScript.Echo "released" ' expect: released
