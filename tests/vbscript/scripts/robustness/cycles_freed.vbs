' Objects that hold each other (or themselves) are freed when the script ends, without
' running Class_Terminate, as on Windows. (Found by fuzzing: the sanitizer build reported
' them as leaked.)
Class Link
  Public NextLink
  Private Sub Class_Terminate
    WScript.Echo "terminated"
  End Sub
End Class
For i = 1 To 1000
  Set l = New Link
  Set l.NextLink = l
Next
Set a = New Link
Set b = New Link
Set a.NextLink = b
Set b.NextLink = a
Set d = CreateObject("Scripting.Dictionary")
Set c = New Link
d.Add "c", c
Set c.NextLink = d
Set l = Nothing
Set a = Nothing
Set b = Nothing
Set c = Nothing
Set d = Nothing
WScript.Echo "done" ' expect: done
