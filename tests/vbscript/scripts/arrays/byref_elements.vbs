' Array elements pass by reference; the array is locked meanwhile.
Sub Bump(ByRef n)
  n = n + 1
End Sub
Dim a(1)
a(0) = 1
Bump a(0)
WScript.Echo a(0) ' expect: 2
Sub Grow(ByRef n)
  ReDim arr(5)
End Sub
arr = Array(1, 2)
On Error Resume Next
Grow arr(0)
WScript.Echo Err.Number, UBound(arr) ' expect: 10 1
