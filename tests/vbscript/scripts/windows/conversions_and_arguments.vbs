' Conversions and argument rules as Windows has them.
On Error Resume Next
WScript.Echo CByte("-0.5") & " " & CByte(True) ' expect: 0 255
WScript.Echo TypeName(Round(True)) & " " & Round(True) & " " & TypeName(Round(False)) ' expect: Boolean True Boolean
WScript.Echo TypeName(Round(CInt(3))) & " " & TypeName(Round("2.5")) & " " & TypeName(Round(2.5)) ' expect: Integer Double Double
' A conversion called as a statement raises as it does in an expression.
Call CInt("") : WScript.Echo Err.Number : Err.Clear ' expect: 13
Call CByte("-1") : WScript.Echo Err.Number : Err.Clear ' expect: 6
For Each f In Array("CBool", "CCur", "CDate", "CDbl", "CLng", "CSng")
    Execute "Call " & f & "(""abc"")"
    WScript.Echo f & " " & Err.Number
    Err.Clear
Next
' expect: CBool 13
' expect: CCur 13
' expect: CDate 13
' expect: CDbl 13
' expect: CLng 13
' expect: CSng 13
' The first day is checked even for a Null date.
x = Weekday(Null, -1) : WScript.Echo Err.Number : Err.Clear ' expect: 5
x = Weekday(Null, Null) : WScript.Echo Err.Number : Err.Clear ' expect: 94
x = Weekday(Null, "a") : WScript.Echo Err.Number : Err.Clear ' expect: 13
x = Weekday(Null, vbSunday) : WScript.Echo Err.Number & " " & IsNull(x) : Err.Clear ' expect: 0 True
x = MonthName("a", Null) : WScript.Echo Err.Number : Err.Clear ' expect: 94
x = Randomize(0) : WScript.Echo Err.Number : Err.Clear ' expect: 13
x = InStrRev(Null, "a") : WScript.Echo Err.Number : Err.Clear ' expect: 94
x = InStrRev("abc", Null) : WScript.Echo Err.Number : Err.Clear ' expect: 94
Dim fixedArr(3)
ReDim fixedArr("abc") : WScript.Echo Err.Number : Err.Clear ' expect: 10
' UCase and LCase keep the length: one character for one.
WScript.Echo UCase("Straße") & " " & Len(UCase("Straße")) ' expect: STRAßE 6
WScript.Echo LCase("ÄÖÜ") & " " & UCase("äöü") ' expect: äöü ÄÖÜ
