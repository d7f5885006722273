' Parentheses around a procedure's name are no call of their own: Call (((f))) ((x)) passes
' x by value, Call (((f))) (x) by reference, and y = (g)(x) calls g with x.
Sub f(ByRef p)
    p = p + 1
End Sub
Function g(p)
    g = p * 2
End Function
x = 1
Call (((f))) ((x))
WScript.Echo x ' expect: 1
Call (((f))) (x)
WScript.Echo x ' expect: 2
y = (g)(x)
WScript.Echo y ' expect: 4
WScript.Echo ((g))(5) ' expect: 10
