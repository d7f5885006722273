' Banker's rounding in CInt, CLng and Round.
WScript.Echo CInt(0.5), CInt(1.5), CInt(2.5), CInt(-0.5), CInt(-1.5) ' expect: 0 2 2 0 -2
WScript.Echo CLng(2.5), CLng(3.5), CLng("7.5") ' expect: 2 4 8
WScript.Echo Round(0.125, 2), Round(0.375, 2), Round(1.005, 1), Round(-2.5) ' expect: 0.12 0.38 1 -2
WScript.Echo Int(2.7), Int(-2.7), Fix(-2.7), Int(5) ' expect: 2 -3 -2 5
WScript.Echo Abs(-5), Abs(5.5), Sgn(-3), Sgn(0), Sgn(2) ' expect: 5 5.5 -1 0 1
WScript.Echo Sqr(16), Hex(255), Oct(64), Hex(-1) ' expect: 4 FF 100 FFFF
