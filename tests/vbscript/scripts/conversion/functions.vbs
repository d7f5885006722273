' C* conversions, VarType and TypeName, the Is* tests.
WScript.Echo CInt("12"), CLng(" 42 "), CDbl("1.5"), CStr(12.5), CBool(0), CBool("False"), CByte(255) ' expect: 12 42 1.5 12.5 0 0 255
WScript.Echo TypeName(CInt(1)), TypeName(CLng(1)), TypeName(CSng(1)), TypeName(CDbl(1)), TypeName(CCur(1)) ' expect: Integer Long Single Double Currency
WScript.Echo TypeName(CStr(1)), TypeName(CBool(1)), TypeName(CByte(1)), TypeName(CDate("1/1/2000")) ' expect: String Boolean Byte Date
WScript.Echo VarType(Empty), VarType(Null), VarType(1), VarType("s"), VarType(True), VarType(Nothing) ' expect: 0 1 2 8 11 9
WScript.Echo TypeName(Empty), TypeName(Null), TypeName(Nothing), TypeName(Array(1)) ' expect: Empty Null Nothing Variant()
WScript.Echo IsEmpty(x), IsNull(Null), IsNumeric("1e3"), IsNumeric(""), IsNumeric(Empty), IsObject(Nothing) ' expect: -1 -1 -1 0 -1 -1
WScript.Echo IsArray(Array()), IsArray("a"), IsDate("12/25/2026"), IsDate("hello") ' expect: -1 0 -1 0
WScript.Echo CStr(True), CStr(Empty) = "", CInt(True), CDbl("&HFF") ' expect: True -1 -1 255
