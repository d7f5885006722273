' Copies and moves never lose what they copy: onto itself, into itself, through links that
' lead back, a folder link copied as a link. Runs in the script's own temporary folder.
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
fso.CreateFolder "box"
fso.CreateFolder "box\sub"
fso.CreateFolder "dest"
fso.CreateTextFile("box\a.txt").Write "alpha"
fso.CreateTextFile("box\sub\b.txt").Write "beta"
sh.Run "ln -s . box/loop", 0, True
sh.Run "ln -s ../box/a.txt dest/a.txt", 0, True

Sub Try(what, code)
    On Error Resume Next
    Execute code
    WScript.Echo what & ": " & Err.Number
End Sub
Try "CopyFile onto itself", "fso.CopyFile ""box\a.txt"", ""box\a.txt"""
' expect: CopyFile onto itself: 70
Try "CopyFile into its own folder", "fso.CopyFile ""box\a.txt"", ""box\"""
' expect: CopyFile into its own folder: 70
Try "CopyFile onto a link to itself", "fso.CopyFile ""box\a.txt"", ""dest\a.txt"""
' expect: CopyFile onto a link to itself: 70
Try "File.Copy onto itself", "fso.GetFile(""box\a.txt"").Copy ""box\a.txt"""
' expect: File.Copy onto itself: 70
Try "MoveFile onto itself", "fso.MoveFile ""box\a.txt"", ""box\a.txt"""
' expect: MoveFile onto itself: 58
Try "CopyFolder onto itself", "fso.CopyFolder ""box"", ""box"""
' expect: CopyFolder onto itself: 70
Try "CopyFolder into itself", "fso.CopyFolder ""box"", ""box\sub\inner"""
' expect: CopyFolder into itself: 70
Try "Folder.Copy into itself", "fso.GetFolder(""box"").Copy ""box\sub\inner"""
' expect: Folder.Copy into itself: 70
Try "MoveFolder into itself", "fso.MoveFolder ""box"", ""box\sub\inner"""
' expect: MoveFolder into itself: 70
WScript.Echo fso.OpenTextFile("box\a.txt").ReadAll, fso.OpenTextFile("box\sub\b.txt").ReadAll, fso.FolderExists("box\sub\inner")
' expect: alpha beta 0

' A copy of the folder: its link stays a link (the loop is not followed), its files are whole.
fso.CopyFolder "box", "copy"
WScript.Echo sh.Exec("readlink copy/loop").StdOut.ReadLine, fso.OpenTextFile("copy\sub\b.txt").ReadAll
' expect: . beta
' Copying over an existing file replaces it, unless told not to.
fso.CreateTextFile("copy\a.txt", True).Write "old"
fso.CopyFile "box\a.txt", "copy\"
WScript.Echo fso.OpenTextFile("copy\a.txt").ReadAll
' expect: alpha
Try "CopyFile without overwrite", "fso.CopyFile ""box\a.txt"", ""copy\a.txt"", False"
' expect: CopyFile without overwrite: 58

' File and Folder objects copy and move themselves; a moved object follows its file.
Set f = fso.GetFile("copy\a.txt")
f.Copy "copy\twin.txt"
Try "File.Move onto a file", "f.Move ""dest\"""
' expect: File.Move onto a file: 58
f.Move "copy\sub\"
WScript.Echo f.Path = fso.GetAbsolutePathName("copy\sub\a.txt"), fso.FileExists("copy\a.txt"), fso.OpenTextFile("copy\twin.txt").ReadAll
' expect: -1 0 alpha
