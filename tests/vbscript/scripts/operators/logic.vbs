' Logical operators on Booleans, bitwise on numbers, with Null.
WScript.Echo True And False, True Or False, True Xor True, Not False ' expect: 0 -1 0 -1
WScript.Echo 12 And 10, 12 Or 10, 12 Xor 10, Not 5 ' expect: 8 14 6 -6
WScript.Echo True Eqv True, False Eqv True, True Imp False, False Imp False ' expect: -1 0 0 -1
WScript.Echo IsNull(Null And True), Null And False, Null Or True, IsNull(Null Or False), IsNull(Not Null) ' expect: -1 0 -1 -1 -1
WScript.Echo TypeName(1 And 1), TypeName(CLng(1) And 1), TypeName(True And True) ' expect: Integer Long Boolean
WScript.Echo 1 + 2 * 3, (1 + 2) * 3, 2 * 3 ^ 2, 10 - 2 - 3, 2 ^ 3 ^ 2 ' expect: 7 9 18 5 64
WScript.Echo 1 + 2 & 3 + 4, Not 1 = 2, 5 Mod 3 * 2 ' expect: 37 -1 5
