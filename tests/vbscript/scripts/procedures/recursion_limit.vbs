' Runaway recursion ends with error 28, never a crash.
Function F
  F = F()
End Function
F ' expect error 28: Out of stack space
