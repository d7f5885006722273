' Numeric literals are typed by value.
WScript.Echo TypeName(1), TypeName(32767), TypeName(32768), TypeName(2147483648) ' expect: Integer Integer Long Double
WScript.Echo TypeName(1.5), TypeName(.5), .5, 1E3, 1.5e-3 ' expect: Double Double 0.5 1000 0.0015
' A trailing & changes nothing: the value alone decides the type, as without it.
WScript.Echo &HFF, &H10&, &HFFFF, TypeName(&HFFFF), &HFFFF&, &HFFFFFFFF, TypeName(&H10&) ' expect: 255 16 -1 Integer 65535 -1 Integer
WScript.Echo &O17, &17, TypeName(&H10000) ' expect: 15 15 Long
WScript.Echo TypeName(#1/2/2026#), Year(#1/2/2026#) ' expect: Date 2026
