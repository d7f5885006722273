' The console host's Echo writes a Boolean as -1 or 0; VBScript's own conversions say True.
WScript.Echo 1 = 1, 1 = 2        ' expect: -1 0
WScript.Echo StrReverse("abba") = "abba", "x" = "y" ' expect: -1 0
WScript.Echo CStr(True), True & "", False & "" ' expect: True True False
