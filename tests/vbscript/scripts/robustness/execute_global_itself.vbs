' A procedure that runs itself through ExecuteGlobal: the guard may catch it at the call
' of ExecuteGlobal or inside the code it compiles; the error reads the same either way.
Sub G(n)
    ExecuteGlobal "G " & n + 1
End Sub
G 0 ' expect error 28: Out of stack space
