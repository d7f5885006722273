' args: --execute
Sub Main()
  Err.Raise -2147221503, "test", "A negative number keeps its sign"
End Sub
' expect: -2147221503 - A negative number keeps its sign
' expect status: A negative number keeps its sign
' expect exit: 1
