' args: --execute
' The box shows the word as written; the status line the engine's raw description.
Sub Main()
  qxCmd.qxNoSuchCommand 1
End Sub
' expect: 438 - Object doesn't support this property or method: 'NoSuchCommand'
' expect status: Object doesn't support this property or method: 'qxCmd.qxNoSuchCommand'
' expect exit: 1
