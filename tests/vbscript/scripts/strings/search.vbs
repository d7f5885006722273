' InStr and InStrRev, forward and backward, binary and text comparison.
WScript.Echo InStr("abcabc", "b"), InStr(3, "abcabc", "b"), InStr("abc", "x"), InStr("abc", "") ' expect: 2 5 0 1
' An empty search text is found at the start, but not past the end.
WScript.Echo InStr(1, "ABC", "b"), InStr(1, "ABC", "b", 1), InStr(3, "abc", ""), InStr(4, "abc", "") ' expect: 0 2 3 0
WScript.Echo InStrRev("abcabc", "b"), InStrRev("abcabc", "b", 4), InStrRev("a\b\c", "\") ' expect: 5 2 4
WScript.Echo InStrRev("abc", ""), InStrRev("abc", "", 2), InStrRev("ABC", "b", -1, 1) ' expect: 3 2 2
WScript.Echo IsNull(InStr(Null, "a")), InStr(5, "abc", "a") ' expect: -1 0
