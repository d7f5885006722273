' The texts that name Booleans (Echo writes a Boolean as -1 or 0, as the console host does),
' and the numeric constants: Integers, except vbObjectError, the colours and the large MsgBox flags.
WScript.Echo Not "#FALSE#", Not "#TRUE#", CBool("#TRUE#"), CBool("false"), CBool("#true#") ' expect: -1 0 -1 0 -1
WScript.Echo TypeName(vbRed), TypeName(vbOKCancel), TypeName(vbSunday), TypeName(vbTextCompare) ' expect: Long Integer Integer Integer
WScript.Echo vbUseSystem, vbUseSystemDayOfWeek, vbFirstFourDays, vbObjectError ' expect: 0 0 2 -2147221504
