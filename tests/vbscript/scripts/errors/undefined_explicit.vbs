Option Explicit
Dim a
a = 1
WScript.Echo a ' expect: 1
b = 2 ' expect error 500: Variable is undefined: 'b'
