' An undeclared name that a procedure assigns is its own local, unless a global of that
' name exists when the procedure runs.
Sub SetA : a = "in SetA" : End Sub
SetA
WScript.Echo "[" & a & "]" ' expect: []
a = "global"
SetA
WScript.Echo a ' expect: in SetA

' Script-level code that only reads a name does not make it exist.
Sub SetB : b = 5 : End Sub
WScript.Echo "[" & b & "]" ' expect: []
SetB
WScript.Echo "[" & b & "]" ' expect: []

' A global made by ExecuteGlobal before the call is the procedure's too.
Sub SetC : c = "from SetC" : End Sub
ExecuteGlobal "c = 1"
SetC
WScript.Echo c ' expect: from SetC

' Each run decides again, and a Dim'd global is always shared.
Dim d
Sub SetD : d = "shared" : e = "local" : End Sub
SetD
WScript.Echo d, "[" & e & "]" ' expect: shared []
