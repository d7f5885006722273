' args: --execute
Sub Main()
  MsgBox "never shown"
  x = (1 +
End Sub
' expect: 1023 - Expected expression
' expect status: Expected expression
' expect exit: 1
