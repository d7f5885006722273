' Join and Filter convert each element; an element's default property may empty the array
' they walk. They work on the array as it was given.
Class Empties
    Public Default Property Get V
        arr = Empty
        V = "k"
    End Property
End Class
Dim arr
arr = Array(1, New Empties, 3, 4, 5)
WScript.Echo Join(arr, ",") ' expect: 1,k,3,4,5
WScript.Echo TypeName(arr) ' expect: Empty
arr = Array(New Empties, "ab", "cd", "ba")
WScript.Echo Join(Filter(arr, "a"), ",") ' expect: ab,ba
Class Grows
    Public Default Property Get V
        ReDim Preserve arr(1000)
        arr(999) = "late"
        V = "g"
    End Property
End Class
arr = Array("a", New Grows, "c")
WScript.Echo Join(arr, "") ' expect: agc
WScript.Echo UBound(arr) & " " & arr(999) ' expect: 1000 late
