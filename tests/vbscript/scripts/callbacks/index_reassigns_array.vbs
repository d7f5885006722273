' A subscript that is an object runs its default property, and that code may reassign the
' very array being indexed: the variable is read again afterwards, never the memory it had.
Class ReassignsArr
    Public Default Property Get V
        arr = 5
        V = 1
    End Property
End Class
Class ReassignsField
    Public Default Property Get V
        holder.arr = 5
        V = 1
    End Property
End Class
Class Box
    Public arr
End Class

Dim arr, holder
On Error Resume Next

arr = Array(1, 2, 3)
x = arr(New ReassignsArr)
WScript.Echo Err.Number & " " & TypeName(arr) ' expect: 13 Integer
Err.Clear

arr = Array(1, 2, 3)
Set k = New ReassignsArr
x = arr(k)
WScript.Echo Err.Number & " " & TypeName(arr) ' expect: 13 Integer
Err.Clear

arr = Array(1, 2, 3)
arr(k) = 7
WScript.Echo Err.Number & " " & TypeName(arr) ' expect: 13 Integer
Err.Clear

Sub InAProcedure()
    Dim local
    local = Array(1, 2, 3)
    arr = Array(4, 5, 6)
    y = local(k) ' the local array is not the one reassigned
    WScript.Echo Err.Number & " " & y ' expect: 0 2
End Sub
InAProcedure

Set holder = New Box
holder.arr = Array(1, 2, 3)
x = holder.arr(New ReassignsField)
WScript.Echo Err.Number & " " & TypeName(holder.arr) ' expect: 13 Integer
Err.Clear
holder.arr = Array(1, 2, 3)
holder.arr(New ReassignsField) = 4
WScript.Echo Err.Number & " " & TypeName(holder.arr) ' expect: 13 Integer
Err.Clear

' UBound reads the array it was given, whatever the dimension's default property does.
arr = Array(1, 2, 3)
WScript.Echo UBound(arr, k) & " " & TypeName(arr) ' expect: 2 Integer
