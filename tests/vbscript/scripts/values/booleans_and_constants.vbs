' The texts that name Booleans, and the numeric constants, which are Longs.
WScript.Echo Not "#FALSE#", Not "#TRUE#", CBool("#TRUE#"), CBool("false"), CBool("#true#") ' expect: True False True False True
WScript.Echo TypeName(vbRed), TypeName(vbOKCancel), TypeName(vbSunday), TypeName(vbTextCompare) ' expect: Long Long Long Long
WScript.Echo vbUseSystem, vbUseSystemDayOfWeek, vbFirstFourDays, vbObjectError ' expect: 0 0 2 -2147221504
