Const Limit = 3
For Limit = 1 To 2 ' expect error 1040: Invalid 'for' loop control variable: 'Limit'
Next
