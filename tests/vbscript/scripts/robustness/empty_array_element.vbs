' An empty dynamic array has no element to read, even with no subscripts at all.
' (Found by fuzzing: it read past the end of the array.)
Dim a()
On Error Resume Next
x = a()
WScript.Echo "a():", Err.Number ' expect: a(): 9
Err.Clear
a() = 1
WScript.Echo "a() = 1:", Err.Number ' expect: a() = 1: 9
Err.Clear
x = a(0)
WScript.Echo "a(0):", Err.Number ' expect: a(0): 9
