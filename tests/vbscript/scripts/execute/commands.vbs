' args: --execute
' The command words at work on files, in the script's own temporary folder.
Sub Main()
  MkDir "box"
  MkDir "box"
  ChDir "box"
    Kill "nothing.txt"
  Set fso_ = CreateObject("WScript.Shell")
  fso_.Run "sh -c ""printf 0123456789 > data.txt""", 1, True
  FileCopy "data.txt", "copy.txt"
  CopyFile "data.txt", "second.txt"
  FileCopy "missing.txt", "x.txt"
  Rename "copy.txt", "renamed.txt"
  Rename "second.txt", "renamed.txt"
  Rename "missing.txt", "y.txt"
  MsgBox qxCmd.qxFileLen("renamed.txt")
  ' A command word called as a function anywhere in a line reaches the command object too.
  msgbox filelen("renamed.txt")
  MsgBox qxDir("*.txt")
  Kill "*.txt"
  MsgBox "[" & qxDir("*.txt") & "]"
  MsgBox "[" & FileLen("renamed.txt") & "]"
End Sub
' expect status: Path/File access error
' expect status: Can't delete the file - File not found
' expect status: File not found
' expect status: Could not Rename File - File already exists
' expect status: Could not Rename File - File not found
' expect: 10Byte(s)
' expect: 10Byte(s)
' expect: data.txt
' expect: []
' expect: []
' expect status: File not found
