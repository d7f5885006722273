' The byte functions count the bytes of a string's UTF-16 code units, low byte first.
WScript.Echo LenB("abc"), LenB(""), TypeName(LenB(Null)) ' expect: 6 0 Null
WScript.Echo AscB("A"), AscB(MidB("AB", 3, 1)), AscB(ChrW(&H1234)), AscB(RightB(ChrW(&H1234), 1)) ' expect: 65 66 52 18
WScript.Echo LeftB("abcd", 4), MidB("abcd", 3, 4), RightB("abcd", 2) ' expect: ab bc d
WScript.Echo InStrB("abc", "c"), InStrB(2, "abc", "b"), InStrB("abc", "x") ' expect: 5 3 0
WScript.Echo AscB(ChrB(200)) ' expect: 200
