' A default member that gives the object itself cannot send a conversion round for ever.
Class Loop_
  Public Default Property Get Self
    Set Self = Me
  End Property
End Class
Set o = New Loop_
On Error Resume Next
x = o + 1
WScript.Echo Err.Number ' expect: 13
