' Code that runs inside a Dictionary's own work (the Class_Terminate of a removed value, the
' default property of a value being stored) may change that dictionary.
Class AddsWhenGone
    Sub Class_Terminate
        For i = 1 To 100
            d.Add "x" & i, i
        Next
    End Sub
End Class
Class EmptiesAndRefills
    Public Default Property Get V
        d.RemoveAll
        For i = 1 To 100
            d.Add "k" & i, i
        Next
        V = "stored"
    End Property
End Class
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", New AddsWhenGone
d.Add "b", 2
d.Remove "a"
WScript.Echo d.Count & " " & d.Exists("a") & " " & d("x100") ' expect: 101 False 100
d.RemoveAll
d.Add "b", 1
d("b") = New EmptiesAndRefills
WScript.Echo d.Count & " " & d("b") & " " & d("k50") ' expect: 101 stored 50
d.Item("c") = New EmptiesAndRefills
WScript.Echo d.Count & " " & d("c") ' expect: 101 stored
' Emptied while one of its values runs Class_Terminate.
Class EmptiesWhenGone
    Sub Class_Terminate
        d.RemoveAll
    End Sub
End Class
d.Add "t", New EmptiesWhenGone
d.Remove "t"
WScript.Echo d.Count ' expect: 0
' A dictionary that holds itself is let go of at the end, as script objects in cycles are.
d.Add "me", d
WScript.Echo d("me").Count ' expect: 1
