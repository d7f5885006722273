' A statement on the Case line itself, without a colon, as Windows' own admin scripts write.
For Each n In Array(1, 2, 7)
  Select Case n
    Case 1 s = "one"
    Case 2, 3 s = "two or three"
    Case Else s = "other"
  End Select
  WScript.Echo s
Next
' expect: one
' expect: two or three
' expect: other
Select Case "x"
  Case "y" WScript.Echo "y"
  Case Else WScript.Echo "else"
End Select
' expect: else
