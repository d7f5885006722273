' ADODB.Stream: a binary copy keeps every byte; text goes out in its character set with the
' mark ADO writes; Byte arrays read as byte strings.
Set sh = CreateObject("WScript.Shell")
sh.Run "sh -c ""perl -e 'print map chr, 0..255' > all.bin""", 0, True
Set s = CreateObject("ADODB.Stream")
s.Type = 1 ' adTypeBinary
s.Open
s.LoadFromFile "all.bin"
WScript.Echo s.Size ' expect: 256
bytes = s.Read
WScript.Echo VarType(bytes) & " " & TypeName(bytes) & " " & LenB(bytes) & " " & UBound(bytes) ' expect: 8209 Byte() 256 255
WScript.Echo AscB(MidB(bytes, 66, 1)) & " " & bytes(255) ' expect: 65 255
Set copy = CreateObject("ADODB.Stream")
copy.Type = 1 : copy.Open : copy.Write bytes
copy.SaveToFile "copy.bin", 2
copy.Close : s.Close
WScript.Echo sh.Run("cmp -s all.bin copy.bin", 0, True) ' expect: 0

Set t = CreateObject("ADODB.Stream")
t.Type = 2 : t.Charset = "utf-8" : t.Open
t.WriteText "Grüße", 1 ' adWriteLine
t.WriteText "€"
t.SaveToFile "utf8.txt", 2
WScript.Echo t.Size ' expect: 15
t.Position = 0
WScript.Echo t.ReadText(-2) & "|" & t.ReadText ' expect: Grüße|€
t.Close
WScript.Echo sh.Run("sh -c ""head -c 3 utf8.txt | od -An -tx1 | grep -q 'ef bb bf'""", 0, True) ' expect: 0

Set u = CreateObject("ADODB.Stream")
u.Open : u.WriteText "AB" ' the default: Unicode, with its mark
WScript.Echo u.Size & " " & u.Charset ' expect: 6 Unicode
u.Position = 0 : u.Type = 1
WScript.Echo Join(Array(AscB(MidB(u.Read(2), 1, 1)), AscB(MidB(u.Read(2), 1, 1))), " ") ' expect: 255 65
u.Close
On Error Resume Next
u.Read
WScript.Echo Err.Number ' expect: 3704
