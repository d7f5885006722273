' Unary + leaves a value as it is once it is a number: text stays text.
WScript.Echo TypeName(+"3"), +"3" & "!", TypeName(+5), TypeName(+Empty) ' expect: String 3! Integer Empty
Class Holder
  Public Default Property Get Value : Value = 42 : End Property
End Class
Set h = New Holder
WScript.Echo +h, TypeName(+h) ' expect: 42 Integer
