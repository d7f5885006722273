' args: --timeout 1
' A Class_Terminate that never ends is stopped by the time limit, and the stop ends the
' whole script: nothing after it runs.
Class Stuck
  Sub Class_Terminate
    Do
    Loop
  End Sub
End Class
On Error Resume Next
Set o = New Stuck
Set o = Nothing ' expect error 5300: The script ran past its time limit and was stopped
WScript.Echo "not reached"
