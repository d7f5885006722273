' Len, Left, Right, Mid, case and trimming.
s = "Hello, World"
WScript.Echo Len(s), Left(s, 5), Right(s, 5), Mid(s, 8), Mid(s, 8, 3) ' expect: 12 Hello World World Wor
WScript.Echo Left(s, 100), "[" & Mid(s, 50) & "]" ' expect: Hello, World []
WScript.Echo UCase(s), LCase(s) ' expect: HELLO, WORLD hello, world
WScript.Echo "[" & Trim("  a b  ") & "][" & LTrim("  a ") & "][" & RTrim(" a  ") & "]" ' expect: [a b][a ][ a]
WScript.Echo "[" & Trim(vbTab & "a") & "]" = "[" & vbTab & "a]" ' expect: -1
WScript.Echo IsNull(Len(Null)), IsNull(UCase(Null)), IsNull(Null & Null) ' expect: -1 -1 -1
WScript.Echo Space(3) & "|", String(4, "ab"), String(2, 65), StrReverse("abc") ' expect:    | aaaa AA cba
WScript.Echo Chr(72) & Chr(105), Asc("a"), AscW(ChrW(8364)), Len(vbCrLf) ' expect: Hi 97 8364 2
WScript.Echo StrComp("a", "B"), StrComp("a", "B", 1), StrComp("a", "A", 1), StrComp("a", "b") ' expect: 1 -1 0 -1
