' args: --execute
' Command words called as functions anywhere in a line reach the command object, unless
' the script has a procedure of that name, which wins.
Function Kill(x)
  Let Kill = "the script's own Kill: " & x ' (a line that begins with Kill would be rewritten)
End Function
Sub Main()
  ReturnValue = Shell("no-such-program-here")
  MsgBox "[" & ReturnValue & "]"
  MsgBox "[" & FileLen("missing.txt") & "]"
  MsgBox Kill("x")
End Sub
' expect status: File not found
' expect: [0]
' expect status: File not found
' expect: []
' expect: the script's own Kill: x
