' Dates as text: an impossible month is the day, a date without a date part is a time.
WScript.Echo CDate("13/1/2024"), CDate("1/13/2024"), CStr(CDate(0)), CStr(TimeValue("12:00 AM")) ' expect: 1/13/2024 1/13/2024 12:00:00 AM 12:00:00 AM
WScript.Echo FormatDateTime(#1/2/2024#, vbLongDate), CDate(0.75) ' expect: Tuesday, January 2, 2024 6:00:00 PM
