' A long chain of objects goes without exhausting the stack, each terminated once.
Class Link
  Public NextLink
  Private Sub Class_Terminate
    count = count + 1
  End Sub
End Class
Dim count
Set head = Nothing
For i = 1 To 100000
  Set l = New Link
  Set l.NextLink = head
  Set head = l
Next
Set l = Nothing
Set head = Nothing
WScript.Echo count ' expect: 100000
