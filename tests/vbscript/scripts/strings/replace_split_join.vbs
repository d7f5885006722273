' Replace with start and count, Split with limits, Join.
WScript.Echo Replace("a-b-c", "-", "+"), Replace("a-b-c", "-", "+", 1, 1), Replace("a-b-c", "-", "", 3) ' expect: a+b+c a+b-c bc
WScript.Echo Replace("AbAb", "b", "x", 1, -1, 1), Replace("abc", "", "x") ' expect: AxAx abc
parts = Split("a,b,,c", ",")
WScript.Echo UBound(parts), parts(0), "[" & parts(2) & "]", parts(3) ' expect: 3 a [] c
WScript.Echo UBound(Split("")), UBound(Split("a b")), Split("a b c", " ", 2)(1) ' expect: -1 1 b c
WScript.Echo Join(Array("x", 1, True), "-"), Join(Array("a", "b")) ' expect: x-1-True a b
WScript.Echo Join(Split("1.2.3", "."), "") ' expect: 123
