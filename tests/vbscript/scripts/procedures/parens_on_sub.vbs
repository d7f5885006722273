Sub Two(a, b)
End Sub
Two(1, 2) ' expect error 1044: Cannot use parentheses when calling a Sub
