' Class_Terminate at the end of the program may define globals through ExecuteGlobal while
' the globals are being let go of.
Class DefinesGlobals
    Public Name
    Sub Class_Terminate
        For i = 1 To 50
            ExecuteGlobal "Dim g" & Name & i & " : g" & Name & i & " = " & i
        Next
        If Name <> "" Then ExecuteGlobal "Set keep" & Name & " = New DefinesGlobals"
        WScript.Echo Trim("terminated " & Name)
    End Sub
End Class
Set a = New DefinesGlobals : a.Name = "a"
Set b = New DefinesGlobals : b.Name = "b"
WScript.Echo "end" ' expect: end
' expect: terminated a
' expect: terminated b
' expect: terminated
' expect: terminated
