' DatePart, DateDiff and Weekday with the first day of the week and the first week of the year.
d = #1/1/2026# ' a Thursday
WScript.Echo Weekday(d), Weekday(d, vbMonday), DatePart("w", d), DatePart("w", d, vbMonday) ' expect: 5 4 5 4
WScript.Echo DatePart("ww", #1/4/2026#), DatePart("ww", #1/4/2026#, vbMonday) ' expect: 2 1
WScript.Echo DatePart("ww", #1/1/2021#, vbMonday, vbFirstFourDays), DatePart("ww", #1/4/2021#, vbMonday, vbFirstFourDays) ' expect: 53 1
WScript.Echo DatePart("ww", #1/2/2022#, vbSunday, vbFirstFullWeek), DatePart("ww", #12/31/2026#) ' expect: 1 53
WScript.Echo DateDiff("ww", #1/1/2026#, #1/31/2026#), DateDiff("ww", #1/1/2026#, #1/31/2026#, vbSaturday) ' expect: 4 5
On Error Resume Next
x = Weekday(d, 8)
WScript.Echo "Weekday(d, 8):", Err.Number ' expect: Weekday(d, 8): 5
