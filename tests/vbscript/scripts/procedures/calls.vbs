' Subs and Functions, call forms, ByRef and ByVal, parentheses.
Function Add(a, b)
  Add = a + b
End Function
Sub Show(text)
  WScript.Echo text
End Sub
Show "one" ' expect: one
Call Show("two") ' expect: two
Show(Add(1, 2)) ' expect: 3
x = Add(2, 3) * 2
WScript.Echo x ' expect: 10
Sub Inc(n)
  n = n + 1
End Sub
Sub IncVal(ByVal n)
  n = n + 1
End Sub
v = 1
Inc v : WScript.Echo v ' expect: 2
IncVal v : WScript.Echo v ' expect: 2
Inc (v) : WScript.Echo v ' expect: 2
Call Inc(v) : WScript.Echo v ' expect: 3
Function Nothing_()
End Function
WScript.Echo IsEmpty(Nothing_()) ' expect: -1
Function Early(n)
  Early = "small"
  If n < 5 Then Exit Function
  Early = "big"
End Function
WScript.Echo Early(1), Early(9) ' expect: small big
Function Fib(n)
  If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
WScript.Echo Fib(20) ' expect: 6765
Show -1 ' expect: -1
Show (1) + 2 ' expect: 3
