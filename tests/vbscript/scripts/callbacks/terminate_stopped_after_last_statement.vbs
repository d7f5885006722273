' args: --timeout 1
' A Class_Terminate that runs when the program ends, after its last statement, is still
' under the time limit, and its stop ends vbsrun like any other error.
Class NeverEnds
    Sub Class_Terminate
        Do
        Loop
    End Sub
End Class
Set o = New NeverEnds
WScript.Echo "last statement" ' expect: last statement
' expect error 5300: The script ran past its time limit and was stopped
