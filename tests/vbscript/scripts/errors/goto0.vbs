On Error Resume Next
On Error GoTo 0
WScript.Echo "before" ' expect: before
x = 1 / 0 ' expect error 11: Division by zero
