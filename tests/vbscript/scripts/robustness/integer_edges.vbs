' Arguments at the edges of the integer types give VBScript's errors, never a wrong value.
On Error Resume Next
d = DateAdd("yyyy", 2147483647, #1/1/2000#)
WScript.Echo "DateAdd years:", Err.Number ' expect: DateAdd years: 5
Err.Clear
d = DateAdd("s", 1E300, #1/1/2000#)
WScript.Echo "DateAdd seconds:", Err.Number ' expect: DateAdd seconds: 5
Err.Clear
d = DateSerial(2000, -2147483647, 1)
WScript.Echo "DateSerial:", Err.Number ' expect: DateSerial: 5
Err.Clear
ReDim a(2147483647)
WScript.Echo "ReDim:", Err.Number ' expect: ReDim: 7
Err.Clear
WScript.Echo "Round:", Round(1.5, 2147483647), Round(2.5), Round(1.23456, 400) ' expect: Round: 1.5 2 1.23456
x = -2147483648 \ -1
WScript.Echo "\ on the Long minimum:", Err.Number ' expect: \ on the Long minimum: 6
Err.Clear
x = -32768 \ -1
WScript.Echo "\ on the Integer minimum:", x, TypeName(x) ' expect: \ on the Integer minimum: 32768 Long
WScript.Echo DateAdd("m", 1, #1/31/2024#) ' expect: 2/29/2024
