' args: --execute
Sub Main()
  Err.Raise -2147024809, "test", "A negative number keeps its sign"
End Sub
' expect: -2147024809 - A negative number keeps its sign
' expect status: A negative number keeps its sign
' expect exit: 1
