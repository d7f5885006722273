' Date literals, parts, serial functions and arithmetic.
d = #12/25/2026 10:30:15 PM#
WScript.Echo Year(d), Month(d), Day(d), Hour(d), Minute(d), Second(d) ' expect: 2026 12 25 22 30 15
WScript.Echo d ' expect: 12/25/2026 10:30:15 PM
WScript.Echo DateSerial(2026, 13, 1), DateSerial(2026, 3, 0) ' expect: 1/1/2027 2/28/2026
WScript.Echo TimeSerial(13, 5, 0), Weekday(#12/7/2026#) ' expect: 1:05:00 PM 2
WScript.Echo #1/1/2026# + 31, #3/1/2026# - #2/1/2026#, TypeName(#3/1/2026# - #2/1/2026#) ' expect: 2/1/2026 28 Double
WScript.Echo CDate("2026-07-04"), DateValue("7/4/2026 10:00") , CDbl(#1/1/1900#) ' expect: 7/4/2026 7/4/2026 2
WScript.Echo Now > #1/1/2026#, Timer >= 0, TypeName(Now) ' expect: -1 -1 Date
