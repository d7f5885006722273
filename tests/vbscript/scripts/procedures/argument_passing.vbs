' Arguments run in order in the caller's scope, then the procedure. A variable or an
' element goes by reference; a ByVal parameter takes the value its variable has once every
' argument has run; a computed value passed ByRef is the procedure's own.
Dim g, dyn()
g = 1
Function BumpG()
    g = g + 10
    BumpG = "bumped"
End Function
Function Pair(ByVal a, b)
    Pair = a & "," & b
    a = "changed"
End Function
WScript.Echo Pair(g, BumpG()), g ' expect: 11,bumped 11

Sub SetBoth(a, b)
    a = "A" : b = "B"
End Sub
ReDim dyn(2)
dyn(0) = 0 : dyn(1) = 1
SetBoth dyn(0), dyn(1)
WScript.Echo dyn(0), dyn(1) ' expect: A B
Dim x : x = 5
SetBoth x, (x)
WScript.Echo x ' expect: A
x = 5
SetBoth x + 1, x
WScript.Echo x ' expect: B

' The element's array is locked while the call runs, and free again after it.
Sub GrowDuring(a)
    On Error Resume Next
    ReDim Preserve dyn(5)
    WScript.Echo Err.Number, UBound(dyn) ' expect: 10 2
    a = "written"
End Sub
GrowDuring dyn(2)
ReDim Preserve dyn(3)
WScript.Echo dyn(2), UBound(dyn) ' expect: written 3

Function Add(a, b)
    Add = a + b
End Function
Function Fib(n)
    If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
WScript.Echo Add(Add(1, 2), Add(3, Add(4, 5))), Fib(Fib(6)) ' expect: 15 21
Function Twice(ByVal n)
    n = n * 2
    Twice = n
End Function
Dim y : y = 4
WScript.Echo Twice(y), Twice(y + 1), y ' expect: 8 10 4

' A call with too many or too few arguments runs them, then fails.
Sub Two(a, b)
End Sub
On Error Resume Next
g = 0
Two BumpG()
WScript.Echo Err.Number, g ' expect: 450 10
Err.Clear
x = Add(1, 2, BumpG())
WScript.Echo Err.Number, g ' expect: 450 20
Err.Clear
On Error GoTo 0

' An element passed by reference stays an element of the array it was in when a later
' argument puts another array in the variable, or empties it.
Dim held
held = Array(1, 2, 3)
Function Swap()
    held = Array(7, 8)
    Swap = 0
End Function
Function Drop()
    held = Empty
    Drop = 0
End Function
Sub SetFirst(a, b)
    a = "set"
    WScript.Echo a, b
End Sub
SetFirst held(0), Swap() ' expect: set 0
WScript.Echo Join(held, ",") ' expect: 7,8
SetFirst held(1), Drop() ' expect: set 0
WScript.Echo IsEmpty(held) ' expect: -1
