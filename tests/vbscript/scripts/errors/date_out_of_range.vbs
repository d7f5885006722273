' A number or numeric text used as a date must lie in 1 January 100 .. 31 December 9999
' (to the second); anything else raises instead of printing a date that does not exist.
On Error Resume Next
x = Year("1e300") : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = Year("3000000") : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = Year(3000000) : WScript.Echo Err.Number : Err.Clear ' expect: 6
d = #1/1/2000# : x = d + 1e300 : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = TimeSerial(2147483647, 0, 0) : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = CDate(2958465.999999) : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = DatePart("ww", "-1e9") : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = -CDate(5000000) : WScript.Echo Err.Number : Err.Clear ' expect: 6
WScript.Echo CDate(2958465.99999) ' expect: 12/31/9999 11:59:59 PM
WScript.Echo DatePart("ww", #12/31/9999#) & " " & DatePart("ww", #1/1/100#) ' expect: 53 1
