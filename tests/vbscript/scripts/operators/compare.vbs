' Comparisons between numbers, texts, Empty and Null.
WScript.Echo 1 < 2, "a" < "b", "B" < "a", 2 = 2.0, "abc" = "ABC" ' expect: -1 -1 -1 -1 0
WScript.Echo Empty = 0, Empty = "", 1 <> 2, 3 >= 3, 2 <= 1 ' expect: -1 -1 -1 -1 0
WScript.Echo IsNull(1 = Null), IsNull(Null <> Null) ' expect: -1 -1
' A Single compares with a Double at the Single's precision.
WScript.Echo CSng(1.1) = 1.1, CSng(0.1) = 0.1, 0.1 + 0.2 = 0.3, CDbl(CSng(0.1)) = 0.1 ' expect: -1 -1 0 0
a = "10" : b = 9
WScript.Echo a > b ' expect: -1
Set o = Nothing
WScript.Echo o Is Nothing, Not (o Is Nothing) ' expect: -1 0
