' & with whole numbers on either side: their decimal digits, the sign first.
Dim i, l, k
i = -32768 : l = -2147483647 - 1 : k = 7
WScript.Echo "a" & 5 & "b" & i & l & CInt(0) & k & 8 ' expect: a5b-32768-2147483648078
WScript.Echo 1 & 2, TypeName(1 & 2), -5 & "x", "" & 2147483647, k & "" ' expect: 12 String -5x 2147483647 7
WScript.Echo "d" & 2.5 & True & CByte(9) & Empty & "|" & Null & "|" ' expect: d2.5True9||
WScript.Echo IsNull(Null & Null), Len(k & k & k) ' expect: -1 3
