' If in block and single-line forms; Select Case with lists.
Sub Classify(n)
  If n < 0 Then
    WScript.Echo "negative"
  ElseIf n = 0 Then
    WScript.Echo "zero"
  ElseIf n < 10 Then
    WScript.Echo "small"
  Else
    WScript.Echo "large"
  End If
End Sub
Classify -1 ' expect: negative
Classify 0 ' expect: zero
Classify 5 ' expect: small
Classify 50 ' expect: large
If True Then WScript.Echo "a" : WScript.Echo "b" Else WScript.Echo "c" ' expect: a
' expect: b
If False Then WScript.Echo "x" Else WScript.Echo "y" : WScript.Echo "z" ' expect: y
' expect: z
If Null Then WScript.Echo "null is true" Else WScript.Echo "null is false" ' expect: null is false
For Each v In Array(1, 4, "x", 9)
  Select Case v
    Case 1, 2, 3
      WScript.Echo "low"
    Case "x"
      WScript.Echo "letter"
    Case 4: WScript.Echo "four"
    Case Else
      WScript.Echo "other"
  End Select
Next
' expect: low
' expect: four
' expect: letter
' expect: other
