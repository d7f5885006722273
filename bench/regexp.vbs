' Log lines parsed with regular expressions: Test, Execute with SubMatches, a global
' Execute walked with For Each, and Replace.
Dim lines(59999), i, line, reGet, reFields, reNumber, reTime, m, match, hits, bytes, digits, width
For i = 0 To 59999
  lines(i) = "2026-12-07 12:" & Right("0" & (i Mod 60), 2) & ":05 host" & (i Mod 17) & " GET /page/" & i & " " & (200 + (i Mod 3) * 100) & " " & ((i * 37) Mod 5000)
Next
Set reGet = New RegExp
reGet.Pattern = "GET /page/\d+ 200 "
Set reFields = New RegExp
reFields.Pattern = "host(\d+) (\w+) (\S+) (\d+) (\d+)$"
Set reNumber = New RegExp
reNumber.Pattern = "\d+"
reNumber.Global = True
Set reTime = New RegExp
reTime.Pattern = "(\d\d):(\d\d):(\d\d)"
hits = 0 : bytes = 0 : digits = 0 : width = 0
For Each line In lines
  If reGet.Test(line) Then hits = hits + 1
  Set m = reFields.Execute(line)
  bytes = (bytes + CLng(m(0).SubMatches(4)) + CLng(m(0).SubMatches(0))) Mod 1000003
  For Each match In reNumber.Execute(line)
    digits = digits + match.Length
  Next
  width = width + Len(reTime.Replace(line, "$3.$2.$1"))
Next
WScript.Echo hits & " " & bytes & " " & digits & " " & width
