' args: --execute
' Continued lines are joined before the command words are rewritten.
Sub Main()
  x = "a" & _
      "b" & _
    "c"
  MsgBox x ' expect: abc
  y = 1 + _
      2
  MsgBox y ' expect: 3
End Sub
' expect status: Code Executed Successfully!
