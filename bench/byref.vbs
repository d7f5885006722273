' Procedure calls with ByRef arguments.
Sub Step(ByRef a, ByRef b)
  Dim t
  t = a + b
  a = b
  b = t Mod 1000007
End Sub
Dim x, y, i
x = 0 : y = 1
For i = 1 To 9000000
  Step x, y
Next
WScript.Echo y
