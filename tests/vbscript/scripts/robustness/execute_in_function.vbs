' A function that calls itself through Execute, in its own scope, until the stack is spent.
Function F(n)
    Execute "x = F(n + 1)"
End Function
F 0 ' expect error 28: Out of stack space
