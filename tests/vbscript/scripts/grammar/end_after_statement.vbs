' End Sub, End Function, End If, ... right after a statement on the same line.
Sub F() x = 1 : WScript.Echo "F" End Sub
Function G()G = 2 End Function
Class C : Public x End Class
F ' expect: F
WScript.Echo G() ' expect: 2
Set o = New C
o.x = 3
WScript.Echo o.x ' expect: 3
If True Then
  WScript.Echo "in" End If
' expect: in
