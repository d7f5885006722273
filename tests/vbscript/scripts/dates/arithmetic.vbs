' DateAdd, DateDiff and DatePart.
WScript.Echo DateAdd("m", 1, #1/31/2026#), DateAdd("yyyy", 1, #2/29/2024#), DateAdd("q", -1, #5/15/2026#) ' expect: 2/28/2026 2/28/2025 2/15/2026
WScript.Echo DateAdd("d", 10, #12/25/2026#), DateAdd("ww", 2, #12/1/2026#), DateAdd("h", 25, #12/7/2026#) ' expect: 1/4/2027 12/15/2026 12/8/2026 1:00:00 AM
WScript.Echo DateAdd("n", 90, #12/7/2026 11:00:00 PM#), DateAdd("s", -1, #1/1/2027#) ' expect: 12/8/2026 12:30:00 AM 12/31/2026 11:59:59 PM
WScript.Echo DateDiff("d", #12/1/2026#, #12/25/2026#), DateDiff("m", #12/31/2026#, #1/1/2027#), DateDiff("yyyy", #12/31/2026#, #1/1/2027#) ' expect: 24 1 1
WScript.Echo DateDiff("h", #12/7/2026 10:59:00 PM#, #12/7/2026 11:01:00 PM#), DateDiff("n", #1/1/2026#, #1/2/2026#), DateDiff("s", #1/1/2026#, #1/1/2026 12:01:00 AM#) ' expect: 1 1440 60
WScript.Echo DateDiff("ww", #12/5/2026#, #12/6/2026#), DateDiff("w", #12/1/2026#, #12/15/2026#), DateDiff("d", #12/25/2026#, #12/1/2026#) ' expect: 1 2 -24
WScript.Echo DatePart("yyyy", #12/7/2026#), DatePart("q", #12/7/2026#), DatePart("y", #2/1/2026#), DatePart("w", #12/7/2026#), DatePart("ww", #1/4/2026#) ' expect: 2026 4 32 2 2
