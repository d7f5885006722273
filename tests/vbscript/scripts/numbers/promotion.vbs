' Integer results grow to Long, then Double, on overflow.
a = 32767 : b = a + 1
WScript.Echo b, TypeName(b) ' expect: 32768 Long
c = 2147483647 : d = c + 1
WScript.Echo d, TypeName(d) ' expect: 2147483648 Double
WScript.Echo TypeName(200 * 200), TypeName(-32768), TypeName(CByte(1) + CByte(1)) ' expect: Long Long Byte
WScript.Echo TypeName(CByte(200) + CByte(100)) ' expect: Integer
WScript.Echo TypeName(1 + 1.5), TypeName(CSng(1) + 1), TypeName(CSng(1) + CLng(1)) ' expect: Double Single Double
WScript.Echo TypeName(True + True), True + True ' expect: Integer -2
WScript.Echo TypeName(10 / 2), 10 / 2 ' expect: Double 5
WScript.Echo 7 \ 2, -7 \ 2, 7.6 \ 2, 2.5 \ 1, 3.5 \ 1 ' expect: 3 -3 4 2 4
WScript.Echo 7 Mod 3, -7 Mod 3, 7 Mod -3, 5.5 Mod 2 ' expect: 1 -1 1 0
WScript.Echo 2 ^ 10, TypeName(2 ^ 2), 2 ^ 0.5 ' expect: 1024 Double 1.4142135623731
' Negation binds tighter than ^, as Windows has it.
WScript.Echo -2 ^ 2, (-2) ^ 2, 2 ^ -1, -(2 ^ 2), 2 ^ 3 ^ 2 ' expect: 4 4 0.5 -4 64
