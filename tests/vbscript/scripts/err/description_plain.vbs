' Inside the script Err.Description is VBScript's plain text; the name of what failed
' belongs to the message that reaches the host.
On Error Resume Next
x = "abc" * 2
WScript.Echo Err.Number, Err.Description ' expect: 13 Type mismatch
Err.Clear
Dim a(2)
a(5) = 1
WScript.Echo Err.Number, Err.Description ' expect: 9 Subscript out of range
Err.Clear
Set o = Nothing
o.Run
WScript.Echo Err.Number, Err.Description ' expect: 424 Object required
Err.Clear
x = UnknownFunction(1)
WScript.Echo Err.Number, Err.Description ' expect: 13 Type mismatch
On Error GoTo 0
y = CInt("abc") ' expect error 13: Type mismatch: 'CInt'
