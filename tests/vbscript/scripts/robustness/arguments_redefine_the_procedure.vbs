' An argument that redefines the procedure being called (ExecuteGlobal), or makes its name
' a variable: the call goes to what the name stands for once the arguments have run, and
' a name that is no procedure any more is a type mismatch, never a crash.
Function F(a) : F = "old " & a : End Function
Function G(a) : G = "g " & a : End Function
Function NewF() : ExecuteGlobal "Function F(a, b) : F = ""new"" : End Function" : NewF = 1 : End Function
Function NewG() : ExecuteGlobal "Function G(a) : G = ""new g "" & a : End Function" : NewG = 2 : End Function
Function NoF() : ExecuteGlobal "Dim F" : NoF = 3 : End Function
Function NoG() : ExecuteGlobal "Dim G" : NoG = 4 : End Function
Dim x, arr(1)
On Error Resume Next
x = F(NewF())
WScript.Echo Err.Number, IsEmpty(x) ' expect: 450 -1
Err.Clear
WScript.Echo G(NewG()) ' expect: new g 2
x = F(NoF())
WScript.Echo Err.Number, IsEmpty(x) ' expect: 13 -1
Err.Clear
G NoG()
WScript.Echo Err.Number ' expect: 13
Err.Clear
' H is defined only when the script runs: its calls are found then.
ExecuteGlobal "Function H(a) : H = ""h "" & a : End Function"
Function NoH() : ExecuteGlobal "Dim H" : NoH = 5 : End Function
WScript.Echo H(1) ' expect: h 1
x = H(NoH())
WScript.Echo Err.Number, IsEmpty(x) ' expect: 13 -1
