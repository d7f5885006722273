' Class_Terminate that puts a new object into the very variable being let go of: the new
' object is held, not lost. (Found by fuzzing: at the script's end it leaked.)
Class Link
  Private Sub Class_Terminate
    If count < 3 Then
      count = count + 1
      Set l = New Link
    End If
  End Sub
End Class
Dim count
Set l = New Link
l = 5
WScript.Echo TypeName(l), count ' expect: Link 1
Set l = Nothing
WScript.Echo TypeName(l), count ' expect: Link 2
WScript.Echo "done" ' expect: done
