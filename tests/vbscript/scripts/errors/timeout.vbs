' args: --timeout 1
Do
Loop ' expect error 5300: The script ran past its time limit and was stopped
