' A text file that is not valid UTF-8 and has no mark is read as Windows-1252, the code
' page of a US Windows: an old editor's "Grüße" reads as itself.
Set fso = CreateObject("Scripting.FileSystemObject")
Set f = fso.CreateTextFile("old.txt", True)
f.Write "Gr" & ChrW(252) & ChrW(223) & "e"
f.Close
' Write the same word as single bytes, the way an old editor saved it.
Set f = fso.OpenTextFile("old.txt", 1)
utf8 = f.ReadAll
f.Close
WScript.Echo utf8 ' expect: Grüße
Set sh = CreateObject("WScript.Shell")
sh.Run "sh -c ""printf 'Gr\374\337e \200 \223quoted\224' > ansi.txt""", 0, True
Set f = fso.OpenTextFile("ansi.txt")
WScript.Echo f.ReadAll ' expect: Grüße € “quoted”
