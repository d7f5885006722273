' Integer loop arithmetic.
Dim i, total
total = 0
For i = 1 To 20000000
  total = (total + i * 7 + (i Mod 13)) Mod 1000003
Next
WScript.Echo total
