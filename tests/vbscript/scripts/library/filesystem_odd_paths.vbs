' A name holding a NUL is no file (and says nothing on stderr); above the root is the root.
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo fso.FileExists(ChrW(0)) & " " & fso.FolderExists("a" & ChrW(0) & "b") ' expect: False False
WScript.Echo fso.GetAbsolutePathName("../../../../../../../../../../../../") ' expect: /
WScript.Echo fso.GetAbsolutePathName("/../x/../..") ' expect: /
