' On Error Resume Next per procedure, Err's properties, Raise and Clear.
On Error Resume Next
x = 1 / 0
WScript.Echo Err.Number, Err.Description ' expect: 11 Division by zero
Err.Clear
WScript.Echo Err.Number, "[" & Err.Description & "]" ' expect: 0 []
Err.Raise 5
WScript.Echo Err.Number, Err.Description ' expect: 5 Invalid procedure call or argument
Err.Raise 1000, "mine", "custom text"
WScript.Echo Err.Number, Err.Source, Err.Description ' expect: 1000 mine custom text
Err.Raise 12345 ' what Raise leaves out keeps the values of an Err not cleared
WScript.Echo Err.Description ' expect: custom text
Err.Clear
Err.Raise 12345
WScript.Echo Err.Description ' expect: Unknown runtime error
WScript.Echo Err ' expect: 12345
On Error Resume Next
WScript.Echo Err.Number ' expect: 0
Sub Fails()
  y = CInt("abc")
  WScript.Echo "not reached"
End Sub
Fails
WScript.Echo Err.Number ' expect: 13
Err.Clear
Sub Guarded()
  On Error Resume Next
  y = 1 / 0
  WScript.Echo "guarded goes on", Err.Number
End Sub
Guarded ' expect: guarded goes on 11
If 1 / 0 = 5 Then WScript.Echo "enters the branch" ' expect: enters the branch
On Error GoTo 0
WScript.Echo Err.Number ' expect: 0
