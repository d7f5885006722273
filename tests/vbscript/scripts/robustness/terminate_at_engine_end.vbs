' Objects still alive when the engine ends run Class_Terminate then, and that code may still
' use the engine's library. (Found by fuzzing: CreateObject there read freed memory.)
Class Tidy
  Private Sub Class_Terminate
    Set d = CreateObject("Scripting.Dictionary")
    d.Add "k", New RegExp
  End Sub
End Class
Set keep = New Tidy
WScript.Echo "done" ' expect: done
