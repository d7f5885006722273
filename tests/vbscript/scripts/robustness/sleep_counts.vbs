' args: --timeout 1
' On the console the limit is wall-clock: sleeping counts.
WScript.Sleep 60000 ' expect error 5300: The script ran past its time limit and was stopped
