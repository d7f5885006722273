' End Sub, End Function, End Property and End Class may follow a closing parenthesis with no
' blank, and a declaration may share its line with End Class.
Sub ok(condition, what)
    WScript.Echo what, condition
End Sub
Sub Check()
Call ok(1 = 1, "sub")End Sub
Function F()
F = 2 : Call ok(F = 2, "function")End Function
Class A
Public x End Class
Class B
Dim y End Class
Class C
Private p
Property Get Value()
Value = 3 : Call ok(Value = 3, "property")End Property
End Class
Check                          ' expect: sub -1
x = F()                        ' expect: function -1
Set obj = New C : v = obj.Value ' expect: property -1
Set first = New A : first.x = 5 : WScript.Echo first.x ' expect: 5
