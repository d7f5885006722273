' Drives are the mounted file systems; the special folders are the system's own.
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo fso.Drives.Count > 0, fso.GetDrive("/").Path, fso.GetDrive("/").IsReady, fso.DriveExists("/") ' expect: -1 / -1 -1
For Each d In fso.Drives
  WScript.Echo TypeName(d), Len(d.Path) > 0, d.TotalSize >= d.FreeSpace, "[" & d.DriveLetter & "]" ' expect: Drive -1 -1 []
  Exit For
Next
WScript.Echo fso.FolderExists(fso.GetSpecialFolder(2).Path), fso.GetSpecialFolder(1).Path ' expect: -1 /usr/bin
t = fso.GetTempName
WScript.Echo Left(t, 3), Right(t, 4), Len(t) ' expect: rad .tmp 12
