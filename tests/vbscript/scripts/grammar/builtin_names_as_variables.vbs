' The names of built-in functions are no keywords: assigned to, they are variables, which
' hide the function in their scope (a public program counts Christmases with "year").
For year = 2008 To 2010
    WScript.Echo Weekday(DateSerial(year, 12, 25))
Next
' expect: 5
' expect: 6
' expect: 7
month = 5 : WScript.Echo month ' expect: 5
Sub Local()
    hour = 7
    Dim len : len = 2
    WScript.Echo hour & " " & len ' expect: 7 2
    For Each day In Array(1, 2) : Next
    WScript.Echo day ' expect: 2
End Sub
Local
Function Outside()
    Outside = Hour(#10:30:00 AM#) & " " & Len("abc") ' elsewhere the functions are as ever
End Function
WScript.Echo Outside() ' expect: 10 3
