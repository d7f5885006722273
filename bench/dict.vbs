' Scripting.Dictionary: string keys added, looked up, updated and removed, For Each over
' the keys, and a counting dictionary with Integer keys that relies on the implicit add.
Dim d, c, i, k, n, sum, counted
n = 200000
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To n
  d.Add "key" & i, i
Next
For i = 1 To n Step 3
  If d.Exists("key" & i) Then d.Item("key" & i) = d.Item("key" & i) * 2
Next
For i = 1 To n Step 4
  d.Remove "key" & i
Next
sum = 0
For Each k In d.Keys
  sum = (sum + d(k)) Mod 1000003
Next
Set c = CreateObject("Scripting.Dictionary")
For i = 1 To n * 2
  k = (i * 7) Mod 5003
  c(k) = c(k) + 1
Next
counted = 0
For Each k In c.Keys
  counted = (counted + k * c(k)) Mod 1000003
Next
WScript.Echo d.Count & " " & sum & " " & c.Count & " " & counted
