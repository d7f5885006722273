' Numbers as text: 15 significant digits, no trailing zeros, E notation at the ends.
WScript.Echo 1/3 ' expect: 0.333333333333333
WScript.Echo 2/3 ' expect: 0.666666666666667
WScript.Echo 100000000000000 ' expect: 100000000000000
WScript.Echo 1E15, 1234567890123456 ' expect: 1E+15 1.23456789012346E+15
WScript.Echo 0.0001, 0.00001 ' expect: 0.0001 1E-05
WScript.Echo 10 / 4, 3.10 ' expect: 2.5 3.1
WScript.Echo CSng(1.1), CSng(1/3) ' expect: 1.1 0.3333333
WScript.Echo CCur(1.23456), CCur(10) ' expect: 1.2346 10
WScript.Echo -0.5, 1 - 1.5 ' expect: -0.5 -0.5
