' Arithmetic nested in arithmetic, comparisons and conditions over variables, literals and
' array elements: when one operand deep inside is no plain number, or one step needs an
' error or a wider type, the whole expression gives what each operator gives on its own.
Dim i, l, d, s, e, n, b, a(3), m(1, 1)
i = 100 : l = 100000 : d = 1.5 : s = "7" : b = True : n = Null
a(0) = 10 : a(1) = "20" : a(2) = 2.5 : Set a(3) = Nothing

WScript.Echo TypeName(i * 400 + 1), TypeName(i * 3 + 1), TypeName(l * l + 1) ' expect: Long Integer Double
WScript.Echo (i + 32667) + 1, TypeName((i + 32667) + 1) ' expect: 32768 Long
WScript.Echo i * (s + 1), TypeName(i * (s + 1)) ' expect: 800 Double
WScript.Echo TypeName(i + (e + 1)), i + (e * 2), TypeName(e + e) ' expect: Integer 100 Integer
WScript.Echo IsNull(i + (n * 2)), IsNull((i < n) And True), (i < l) And b ' expect: -1 -1 -1
WScript.Echo (i + b) * 2, TypeName((i + b) * 2), b And (i > 1) ' expect: 198 Integer -1
WScript.Echo i & (l + 1) + 1 ' expect: 100100002
WScript.Echo (a(0) + a(1)) * 2, TypeName(a(0) * a(2)), a(0) > a(2) * 2 ' expect: 60 Double -1
WScript.Echo a(i \ 50) + 1, a(i \ 100) + a(1 - 1) ' expect: 3.5 30
WScript.Echo d * 2 = 3, d * 2 = "3", 1 / 4 + d ' expect: -1 0 1.75
WScript.Echo (2147483647 + l) - l, TypeName((2147483647 + l) - l) ' expect: 2147483647 Double

Sub Errors()
    On Error Resume Next
    Dim x
    x = (i + 1) / (l - 100000)
    WScript.Echo Err.Number, IsEmpty(x) ' expect: 11 -1
    Err.Clear
    x = 5 + (i Mod (i - 100))
    WScript.Echo Err.Number ' expect: 11
    Err.Clear
    x = (-2147483647 - 1) \ (i - 101)
    WScript.Echo Err.Number ' expect: 6
    Err.Clear
    x = a(i) + 1
    WScript.Echo Err.Number ' expect: 9
    Err.Clear
    x = m(0) + 1
    WScript.Echo Err.Number ' expect: 9
    Err.Clear
    x = i(0) + 1
    WScript.Echo Err.Number ' expect: 13
    Err.Clear
    If a(0) > a(9) Then WScript.Echo "ran into the block" ' expect: ran into the block
    WScript.Echo Err.Number ' expect: 9
End Sub
Errors

' Not and unary minus inside arithmetic and conditions, with their own widening.
Dim smallest, lowest, flag
smallest = -32767 - 1 : lowest = -2147483647 - 1 : flag = True
WScript.Echo Not flag, Not i, TypeName(Not i), Not l, TypeName(Not l), Not d ' expect: 0 -101 Integer -100001 Long -3
WScript.Echo Not e, IsNull(Not n), Not (i > 1) Or flag, Not s ' expect: -1 -1 -1 -8
WScript.Echo -smallest, TypeName(-smallest), -lowest, TypeName(-lowest) ' expect: 32768 Long 2147483648 Double
WScript.Echo -flag, TypeName(-flag), -d * 2, -(i - 1), TypeName(-e) ' expect: 1 Integer -3 -99 Integer
If Not flag Or Not (a(0) > 5) Then WScript.Echo "wrong" Else WScript.Echo "right" ' expect: right

' An operand whose default property runs code is read once, when its operator needs it.
Class Counter
    Public Calls
    Public Default Property Get Value()
        Calls = Calls + 1
        Value = 1000
    End Property
End Class
Dim c
Set c = New Counter
c.Calls = 0
WScript.Echo (c + 1) * (c + 2) - i, c.Calls ' expect: 1002902 2
If c * 2 > i Then WScript.Echo c.Calls ' expect: 3
WScript.Echo 1E308 * (i - 90) > 1 ' expect error 6: Overflow
