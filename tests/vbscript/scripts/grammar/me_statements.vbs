' Statements that begin with Me. inside a class.
Class Counter
  Public Total
  Public Child
  Sub Add(n)
    Me.Total = Me.Total + n
    Set Me.Child = Nothing
    Me.Report
    Call Me.Report()
  End Sub
  Sub Report
    WScript.Echo "total", Me.Total
  End Sub
End Class
Set c = New Counter
c.Total = 1
c.Add 2
' expect: total 3
' expect: total 3
WScript.Echo TypeName(c.Child) ' expect: Nothing
