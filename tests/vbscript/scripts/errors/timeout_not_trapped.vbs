' args: --timeout 1
On Error Resume Next
Do
Loop ' expect error 5300: The script ran past its time limit and was stopped
