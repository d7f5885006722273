' Text built onto itself in every form a script writes: the same result as written, the
' target left alone when a piece fails, Null and Empty as the operator has them.
s = ""
For i = 1 To 3 : s = s & "item" & i & ";" : Next
WScript.Echo s ' expect: item1;item2;item3;
Class Report
    Public buf
    Private mine
    Sub Add(x)
        buf = buf & x & ","
        Me.buf = Me.buf & "[" & x & "]"
        mine = mine & x & x
    End Sub
    Function Mine() : Mine = mine : End Function
End Class
Set r = New Report : r.buf = ""
r.Add 1 : r.Add 2
WScript.Echo r.buf & " " & r.Mine ' expect: 1,[1]2,[2] 1122
r.buf = r.buf & "!" & "?"
With r : .buf = .buf & "w" & 5 : End With
WScript.Echo r.buf ' expect: 1,[1]2,[2]!?w5
Dim arr(2) : arr(1) = "a"
For i = 1 To 3 : arr(1) = arr(1) & i & "-" : Next
WScript.Echo arr(1) ' expect: a1-2-3-
On Error Resume Next
t = "kept"
t = t & "x" & (1 / 0)
WScript.Echo t ' expect: kept
Err.Clear
n = Null : n = n & Null & Null : WScript.Echo IsNull(n) ' expect: -1
e = Empty : e = e & 5 & Null : WScript.Echo e & " " & TypeName(e) ' expect: 5 String
k = 5 : k = k & 6 & 7 : WScript.Echo k & " " & TypeName(k) ' expect: 567 String
Class WithProperty
    Private v
    Public Property Get Text : Text = v : End Property
    Public Property Let Text(x) : v = "<" & x & ">" : End Property
End Class
Set p = New WithProperty
p.Text = "a" : p.Text = p.Text & "b" & "c"
WScript.Echo p.Text ' expect: <<a>bc>
