' Null in operators and built-ins: most give Null, the documented ones raise 94, and a
' Null argument is found before the range errors of the arguments in front of it.
WScript.Echo TypeName(Null + "x"), TypeName(Null & Null), TypeName(-Null), TypeName(Not Null) ' expect: Null Null Null Null
WScript.Echo TypeName(Null = 1), TypeName(Null <> Null), TypeName(Null * 2), TypeName(Null \ 2) ' expect: Null Null Null Null
WScript.Echo "a" & Null & "b", TypeName(Null And False), Null Or True ' expect: ab Boolean -1
WScript.Echo TypeName(Len(Null)), TypeName(Left(Null, 1)), TypeName(Mid(Null, 2)), TypeName(UCase(Null)) ' expect: Null Null Null Null
WScript.Echo TypeName(InStr(Null, "a")), TypeName(StrComp("a", Null)), TypeName(String(Null, "a")), TypeName(Abs(Null)) ' expect: Null Null Null Null
WScript.Echo TypeName(DateAdd("d", 1, Null)), TypeName(DatePart("yyyy", Null)), TypeName(Year(Null)), TypeName(Hex(Null)) ' expect: Null Null Null Null
Sub Try(expr)
  On Error Resume Next
  x = Eval(expr)
  WScript.Echo expr, Err.Number
End Sub
Try "Mid(""abc"", 0, Null)" ' expect: Mid("abc", 0, Null) 94
Try "Left(""abc"", Null)" ' expect: Left("abc", Null) 94
Try "Replace(Null, ""a"", ""b"")" ' expect: Replace(Null, "a", "b") 94
Try "StrReverse(Null)" ' expect: StrReverse(Null) 94
Try "CStr(Null)" ' expect: CStr(Null) 94
Try "Space(Null)" ' expect: Space(Null) 94
Try "FormatNumber(Null)" ' expect: FormatNumber(Null) 13
Try "FormatDateTime(Null)" ' expect: FormatDateTime(Null) 13
