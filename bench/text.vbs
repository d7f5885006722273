' Text handling: building lines, Mid, InStr, Replace, UCase, Split and Join.
Dim i, j, line, parts, words, total, found, upper
total = 0 : found = 0 : upper = 0
For i = 1 To 150000
  line = "item" & i & ",alpha,beta," & (i Mod 97) & ",gamma delta"
  parts = Split(line, ",")
  total = total + UBound(parts) + Len(parts(0))
  If InStr(line, "ta,") > 0 Then found = found + InStr(1, line, "gamma")
  line = Replace(line, "alpha", "ALPHA")
  upper = upper + Len(UCase(Mid(line, 5, 8)))
  words = Join(parts, ";")
  total = (total + Len(words) + Asc(Right(words, 1))) Mod 1000003
Next
WScript.Echo total & " " & found & " " & upper
