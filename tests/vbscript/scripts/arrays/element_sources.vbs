' a(i) reads and writes the same whatever the array variable (local or global) and the
' subscript (local, global, literal, computed) are: conversions of the subscript, errors
' named after the array, copies that stay apart, and a subscript that changes the array.
Dim g(3), gi, gd, gs, b
gi = 1 : gd = 1.5 : gs = "3"
g(0) = "zero" : g(gi) = "one" : g(gd) = "two" : g(gs) = "three"
WScript.Echo Join(g, ",")                  ' expect: zero,one,two,three
WScript.Echo g(gi) & " " & g(2) & " " & g(gi + 2) & " " & g(gd) & " " & g(gs) ' expect: one two three two three
WScript.Echo g(2.5) & " " & g(True + 1)    ' expect: two zero

Sub Locals()
    Dim a(2), i, s
    i = 2 : s = "1"
    a(0) = 10 : a(s) = 11 : a(i) = 12
    WScript.Echo a(0) + a(s) + a(i) + a(i - 1) ' expect: 44
    Set a(i) = New RegExp
    WScript.Echo TypeName(a(i))             ' expect: IRegExp2
    Dim c
    c = a
    c(0) = 99
    WScript.Echo a(0) & " " & c(0)          ' expect: 10 99
End Sub
Locals

' A copy of an array keeps its own elements when either is written.
b = g
b(gi) = "uno"
WScript.Echo g(1) & " " & b(1)              ' expect: one uno

' The subscript changes the array it indexes: the element is found in the new one.
Dim grow()
ReDim grow(0)
grow(0) = "old"
Function Enlarge()
    ReDim grow(5)
    grow(5) = "new"
    Enlarge = 5
End Function
WScript.Echo grow(Enlarge())                ' expect: new

' Errors name the array, wherever the subscript comes from.
On Error Resume Next
Dim e
e = g(gi + 10) : WScript.Echo Err.Number & " " & Err.Description ' expect: 9 Subscript out of range
Err.Clear
g(-1) = 1 : WScript.Echo Err.Number         ' expect: 9
Err.Clear
e = g("x") : WScript.Echo Err.Number        ' expect: 13
Err.Clear
Dim notArray
notArray = 5
e = notArray(gi) : WScript.Echo Err.Number  ' expect: 13
Err.Clear
g = 1 : WScript.Echo Err.Number             ' expect: 10
On Error GoTo 0

' A script procedure called like an element, with a global or literal argument.
Function Twice(n)
    Twice = n * 2
End Function
WScript.Echo Twice(gi) & " " & Twice(4)     ' expect: 2 8
