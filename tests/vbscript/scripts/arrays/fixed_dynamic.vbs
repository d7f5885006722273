' Fixed and dynamic arrays, bounds, ReDim Preserve, Erase, multiple dimensions.
Dim a(2), m(1, 2)
a(0) = 10 : a(2) = 30
WScript.Echo UBound(a), LBound(a), a(0), IsEmpty(a(1)), a(2) ' expect: 2 0 10 -1 30
m(1, 2) = "corner"
WScript.Echo UBound(m, 1), UBound(m, 2), m(1, 2) ' expect: 1 2 corner
Dim d()
ReDim d(1)
d(0) = "x" : d(1) = "y"
ReDim Preserve d(3)
WScript.Echo UBound(d), d(0), d(1), IsEmpty(d(3)) ' expect: 3 x y -1
ReDim d(0)
WScript.Echo IsEmpty(d(0)) ' expect: -1
Erase a
WScript.Echo UBound(a), IsEmpty(a(0)) ' expect: 2 -1
b = Array(1, 2, 3)
c = b
c(0) = 99
WScript.Echo b(0), c(0), VarType(b), IsArray(b) ' expect: 1 99 8204 -1
For Each v In m
  If Not IsEmpty(v) Then WScript.Echo v ' expect: corner
Next
WScript.Echo UBound(Array()) ' expect: -1
