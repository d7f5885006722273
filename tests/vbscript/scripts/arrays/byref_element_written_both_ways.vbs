' A ByRef parameter bound to an array element is that element: a write to the element by
' its name, then one through the parameter, leaves the parameter's value.
Dim a(3)
Sub WriteBoth(ByRef p)
    a(1) = "direct"
    WScript.Echo p ' expect: direct
    p = "through the parameter"
End Sub
WriteBoth a(1)
WScript.Echo a(1) ' expect: through the parameter
Dim b
b = Array(1, 2, 3)
Sub Grow(ByRef p)
    Dim copy
    copy = b
    copy(0) = "copy only"
    p = "param"
End Sub
Grow b(0)
WScript.Echo b(0) & " " & b(1) ' expect: param 2
