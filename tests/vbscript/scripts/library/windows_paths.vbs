' FileSystemObject takes Windows paths: \ separates too, and a drive letter names
' nothing on this system (76 and 53, never a file named after the whole path).
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo fso.GetFileName("C:\dir\a.txt"), fso.GetParentFolderName("C:\dir\a.txt"), fso.GetBaseName("C:\dir\a.tar.gz"), fso.GetExtensionName("x\y.TXT") ' expect: a.txt C:\dir a.tar TXT
WScript.Echo fso.BuildPath("C:\dir", "b.txt"), fso.BuildPath("sub", "b.txt"), fso.BuildPath("C:\dir\", "b.txt") ' expect: C:\dir\b.txt sub/b.txt C:\dir\b.txt
WScript.Echo fso.GetParentFolderName("C:\a.txt"), "[" & fso.GetParentFolderName("C:\") & "]", fso.GetFileName("C:\dir\") ' expect: C:\ [] dir
WScript.Echo fso.FileExists("C:\boot.ini"), fso.FolderExists("d:\x"), fso.GetDriveName("C:\x"), "[" & fso.GetDriveName("/tmp") & "]" ' expect: 0 0 C: []
fso.CreateFolder "sub"
fso.CreateTextFile("sub\made.txt").WriteLine "x"
WScript.Echo fso.FileExists("sub/made.txt"), fso.FileExists("sub\made.txt") ' expect: -1 -1
On Error Resume Next
fso.CreateFolder "d:\myDirectory"
WScript.Echo "CreateFolder:", Err.Number ' expect: CreateFolder: 76
Err.Clear
fso.CopyFile "C:\x.txt", "sub"
WScript.Echo "CopyFile:", Err.Number ' expect: CopyFile: 53
Err.Clear
On Error GoTo 0
WScript.Echo fso.FolderExists("d:\myDirectory"), fso.GetFolder(".").SubFolders.Count ' expect: 0 1
