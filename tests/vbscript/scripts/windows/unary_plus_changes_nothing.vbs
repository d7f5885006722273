' Unary + changes nothing, whatever the operand: no conversion, no default property.
Class Counter
    Public Reads
    Public Default Property Get Value
        Reads = Reads + 1
        Value = 5
    End Property
End Class
WScript.Echo TypeName(+"true"), +"true" ' expect: String true
WScript.Echo TypeName(+True), TypeName(+Null), TypeName(+#1/1/2000#) ' expect: Boolean Null Date
Set c = New Counter
c.Reads = 0
WScript.Echo +c Is c, c.Reads ' expect: -1 0
WScript.Echo TypeName(+c) ' expect: Counter
