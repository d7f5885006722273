' Err.Raise: the numbers it takes, and the codes that stand for VBScript's own errors.
On Error Resume Next
Err.Raise 0
WScript.Echo Err.Number ' expect: 5
Err.Clear
Err.Raise 65536
WScript.Echo Err.Number ' expect: 5
Err.Clear
Err.Raise 65535
WScript.Echo Err.Number ' expect: 65535
Err.Clear
Err.Raise vbObjectError + 513, "Mine", "custom"
WScript.Echo Err.Number - vbObjectError, Err.Description ' expect: 513 custom
Err.Clear
Err.Raise &H800A000D
WScript.Echo Err.Number, Err.Description ' expect: 13 Type mismatch
Err.Clear
Err.Raise &H8007000E
WScript.Echo Err.Number, Err.Description ' expect: 7 Out of memory
Err.Clear
Err.Raise 9
WScript.Echo Err.Number, Err.Description, Err.Source ' expect: 9 Subscript out of range Microsoft VBScript runtime error
Err.Number = 11
WScript.Echo Err.Number, Err.Description ' expect: 11 Subscript out of range
