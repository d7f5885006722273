' Member access, calls and indexes on a parenthesised expression.
Class C
  Public Name
  Sub Class_Initialize : Name = "made" : End Sub
  Sub Run : WScript.Echo "ran" : End Sub
End Class
WScript.Echo (New C).Name ' expect: made
Call (New C).Run ' expect: ran
a = Array(10, 20)
WScript.Echo ((a))(1) ' expect: 20
Function F() : F = Array("x", "y") : End Function
WScript.Echo (F)(0) ' expect: x
