' Code given as text: Eval, Execute, ExecuteGlobal, GetRef.
x = 6
WScript.Echo Eval("x * 7"), Eval("x = 6"), Eval("Len(""abc"") + 1") ' expect: 42 -1 4
WScript.Echo IsEmpty(Eval("neverSeen")) ' expect: -1
Execute "y = x + 1"
WScript.Echo y ' expect: 7
ExecuteGlobal "Function Twice(n) : Twice = n * 2 : End Function"
WScript.Echo Twice(21) ' expect: 42
Sub UsesLocals()
  Dim here
  here = 10
  WScript.Echo Eval("here + 1") ' expect: 11
  Execute "here = here * 3"
  WScript.Echo here ' expect: 30
End Sub
UsesLocals
Function Square(n)
  Square = n * n
End Function
Set f = GetRef("Square")
WScript.Echo f(9), TypeName(f) ' expect: 81 Object
For i = 1 To 1000
  total = Eval("total + " & i)
Next
WScript.Echo total ' expect: 500500
On Error Resume Next
Eval "1 +"
WScript.Echo Err.Number ' expect: 1023
Err.Clear
Set g = GetRef("NoSuchProcedure")
WScript.Echo Err.Number ' expect: 5
On Error GoTo 0
ExecuteGlobal "Function Seven() : Seven = 7 : End Function"
WScript.Echo Seven + 1 ' expect: 8
Function Defines()
  ExecuteGlobal "Function Later() : Later = ""defined inside Eval"" : End Function"
  Defines = 1
End Function
x = Eval("Defines()")
WScript.Echo Later() ' expect: defined inside Eval
