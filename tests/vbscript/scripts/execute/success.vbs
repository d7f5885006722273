' args: --execute
' The run routine on a file: Main is called after the top-level code.
WScript_is_not_here = "the console host's WScript object is not registered"
Sub Main()
  MsgBox "in Main" ' expect: in Main
End Sub
' expect status: Code Executed Successfully!
