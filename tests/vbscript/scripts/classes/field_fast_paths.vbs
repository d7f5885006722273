' Fields of Me by their bare names inside the class: a plain value goes straight to and
' from the field; objects, arrays and default properties take the full way.
Class Holder
    Public Item
    Public Sub Replace(v)
        Item = v
    End Sub
    Public Sub Hold(o)
        Set Item = o
    End Sub
    Public Function Twice()
        Twice = Item * 2 + 0
    End Function
    Public Function First()
        First = Item(0) + 1
    End Function
End Class
Class Noisy
    Public Owner
    Private Sub Class_Terminate()
        WScript.Echo "terminate"
        Owner.Item = "set by terminate"
    End Sub
End Class
Class Valued
    Public Default Property Get V()
        V = 21
    End Property
End Class

Dim h, n
Set h = New Holder
h.Replace 5
WScript.Echo h.Twice(), TypeName(h.Item) ' expect: 10 Integer
h.Replace 2.25
WScript.Echo h.Twice() ' expect: 4.5
h.Hold New Valued
WScript.Echo h.Twice(), TypeName(h.Item) ' expect: 42 Valued
h.Replace Array(7, 8)
WScript.Echo h.First() ' expect: 8
' The old value goes once the new one is in place: what its Class_Terminate stores stays.
Set n = New Noisy
Set n.Owner = h
h.Hold n
Set n = Nothing
h.Replace 7 ' expect: terminate
WScript.Echo h.Item ' expect: set by terminate
h.Replace Array(1)
WScript.Echo h.Twice() ' expect error 13: Type mismatch: 'h.Twice'
