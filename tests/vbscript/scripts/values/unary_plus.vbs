' Unary + leaves a value as it is, whatever it is: text stays text, an object the object.
WScript.Echo TypeName(+"3"), +"3" & "!", TypeName(+5), TypeName(+Empty) ' expect: String 3! Integer Empty
Class Holder
  Public Default Property Get Value : Value = 42 : End Property
End Class
Set h = New Holder
WScript.Echo +h, TypeName(+h), +h Is h ' expect: 42 Holder -1
