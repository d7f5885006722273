' Edge rules of the string functions.
WScript.Echo InStr(4, "abc", ""), InStr(3, "abc", ""), InStrRev("abc", "", 3) ' expect: 0 3 3
Sub Try(expr)
  On Error Resume Next
  x = Eval(expr)
  WScript.Echo expr, Err.Number
End Sub
Try "InStr(1, ""a"", ""a"", 2)" ' expect: InStr(1, "a", "a", 2) 5
Try "StrComp(""a"", ""A"", 3)" ' expect: StrComp("a", "A", 3) 5
Try "Split(""a,b"", "","", -1, 2)" ' expect: Split("a,b", ",", -1, 2) 5
Try "Replace(""a"", ""a"", ""b"", 1, -1, 5)" ' expect: Replace("a", "a", "b", 1, -1, 5) 5
Class Number : Public Default Property Get Value : Value = "12" : End Property : End Class
Class Plain : Public X : End Class
WScript.Echo IsNumeric(New Number), IsNumeric(New Plain), IsNumeric(Empty) ' expect: -1 0 -1
