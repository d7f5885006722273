' TextStream: Read and Skip count characters, Line and Column follow them; the Unicode
' format writes UTF-16LE after its mark, as Windows does, and reads it back.
Set fso = CreateObject("Scripting.FileSystemObject")
Set f = fso.CreateTextFile("plain.txt", True)
f.WriteLine "first line"
f.Write "second"
WScript.Echo f.Line & " " & f.Column ' expect: 2 7
f.Close
Set f = fso.OpenTextFile("plain.txt")
WScript.Echo f.Read(5) ' expect: first
f.Skip 1
WScript.Echo f.Read(4) & " " & f.Column ' expect: line 11
f.SkipLine
WScript.Echo f.Line & " " & f.ReadAll ' expect: 2 second
f.Close

Set u = fso.CreateTextFile("wide.txt", True, True)
u.Write "A" & ChrW(&H20AC)
u.Close
Set u = fso.OpenTextFile("wide.txt", 2, True, -1)
u.WriteLine "Gr" & ChrW(252) & "ße"
u.Close
Set bytes = fso.GetFile("wide.txt")
WScript.Echo bytes.Size ' expect: 16
Set u = fso.OpenTextFile("wide.txt", 1, False, -1)
WScript.Echo u.ReadLine ' expect: Grüße
u.Close
Set u = fso.OpenTextFile("wide.txt") ' the default format finds the mark
WScript.Echo Len(u.ReadLine) ' expect: 5
