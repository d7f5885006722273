' String building and scanning.
Dim s, i, count
s = ""
For i = 1 To 3000000
  s = s & Chr(65 + i Mod 26)
Next
count = 0
For i = 1 To Len(s) Step 7
  If Mid(s, i, 1) = "Q" Then count = count + 1
Next
WScript.Echo Len(s) & " " & count
