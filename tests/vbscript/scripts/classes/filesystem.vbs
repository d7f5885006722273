' Scripting.FileSystemObject in the script's own temporary folder.
Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateFolder "data"
Set ts = fso.CreateTextFile("data/notes.txt")
ts.WriteLine "first line"
ts.Write "second"
ts.WriteBlankLines 1
ts.Close
WScript.Echo fso.FileExists("data/notes.txt"), fso.FolderExists("data"), fso.FileExists("data") ' expect: -1 -1 0
Set ts = fso.OpenTextFile("data/notes.txt")
WScript.Echo ts.ReadLine, "|", ts.ReadLine, "|", ts.AtEndOfStream ' expect: first line | second | -1
ts.Close
Set ts = fso.OpenTextFile("data/notes.txt", 8)
ts.WriteLine "third"
ts.Close
WScript.Echo Replace(fso.OpenTextFile("data/notes.txt").ReadAll, vbCrLf, "/") ' expect: first line/second/third/
Set f = fso.GetFile("data/notes.txt")
WScript.Echo f.Name, f.Size, TypeName(f), fso.GetBaseName(f.Path), fso.GetExtensionName(f.Path) ' expect: notes.txt 27 File notes txt
f.Name = "renamed.txt"
WScript.Echo fso.FileExists("data/renamed.txt"), fso.FileExists("data/notes.txt") ' expect: -1 0
fso.CopyFile "data/renamed.txt", "data/copy.txt"
fso.CreateFolder "data/sub"
For Each item In fso.GetFolder("data").Files
  WScript.Echo item.Name
Next
' expect: copy.txt
' expect: renamed.txt
WScript.Echo fso.GetFolder("data").SubFolders.Count, fso.GetFolder("data").Files.Count ' expect: 1 2
WScript.Echo fso.BuildPath("a/b", "c.txt"), fso.GetParentFolderName("a/b/c.txt"), fso.GetFileName("a/b/c.txt") ' expect: a/b/c.txt a/b c.txt
fso.DeleteFile "data/*.txt"
WScript.Echo fso.GetFolder("data").Files.Count ' expect: 0
On Error Resume Next
fso.OpenTextFile "data/missing.txt"
WScript.Echo Err.Number ' expect: 53
Err.Clear
fso.CreateFolder "data"
WScript.Echo Err.Number ' expect: 58
Err.Clear
fso.GetFolder "nowhere"
WScript.Echo Err.Number ' expect: 76
On Error GoTo 0
fso.DeleteFolder "data"
WScript.Echo fso.FolderExists("data") ' expect: 0
