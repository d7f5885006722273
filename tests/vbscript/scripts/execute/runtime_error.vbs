' args: --execute
Sub Main()
  x = 1 / 0
End Sub
' expect: 11 - Division by zero
' expect status: Division by zero
' expect exit: 1
