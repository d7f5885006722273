' Erase and a ReDim Preserve that cuts elements let go of them after the array is in its
' new state; the Class_Terminate they run may let go of the array or ReDim it.
Class LetsGoOfArr
    Sub Class_Terminate
        arr = Empty ' a fixed array refuses: the error stays inside Class_Terminate
        Execute "Set arr = Nothing"
    End Sub
End Class
Class Reads
    Sub Class_Terminate
        WScript.Echo "terminate sees " & TypeName(fixed(1)) & " " & TypeName(fixed(2))
    End Sub
End Class
Class ReDimsDyn
    Sub Class_Terminate
        ReDim dyn(100)
    End Sub
End Class

Dim arr(3)
Set arr(1) = New LetsGoOfArr
Erase arr
WScript.Echo TypeName(arr) & " " & UBound(arr) ' expect: Variant() 3

Dim fixed(2)
Set fixed(1) = New Reads
fixed(2) = "two"
Erase fixed
' expect: terminate sees Empty Empty
WScript.Echo UBound(fixed) ' expect: 2

Dim dyn()
ReDim dyn(5)
Set dyn(5) = New ReDimsDyn
ReDim Preserve dyn(2)
WScript.Echo UBound(dyn) ' expect: 100
