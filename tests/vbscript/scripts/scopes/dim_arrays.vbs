' Dim a() is an empty dynamic array; a fixed array comes into being when its Dim runs.
Dim a()
WScript.Echo VarType(a), IsArray(a) ' expect: 8204 -1
On Error Resume Next
x = UBound(a)
WScript.Echo "UBound:", Err.Number ' expect: UBound: 9
Err.Clear
On Error GoTo 0
n = 0
For Each item In a
  n = n + 1
Next
WScript.Echo "items:", n ' expect: items: 0
ReDim a(2)
a(2) = "c"
WScript.Echo UBound(a), a(2) ' expect: 2 c

Sub Later
  WScript.Echo "before:", TypeName(f) ' expect: before: Empty
  Dim f(3)
  WScript.Echo "after:", TypeName(f), UBound(f) ' expect: after: Variant() 3
End Sub
Later

' The same Dim run again in a loop keeps its array.
For i = 1 To 2
  Dim g(1)
  g(i - 1) = i
Next
WScript.Echo g(0), g(1) ' expect: 1 2
