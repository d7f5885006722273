' A fixed array refuses Set as it refuses a plain assignment.
Dim fa(3)
On Error Resume Next
fa = 1 : WScript.Echo Err.Number : Err.Clear ' expect: 10
Set fa = Nothing : WScript.Echo Err.Number & " " & TypeName(fa) : Err.Clear ' expect: 10 Variant()
Sub Local()
    On Error Resume Next
    Dim lf(2)
    Set lf = Nothing
    WScript.Echo Err.Number : Err.Clear ' expect: 10
End Sub
Local
