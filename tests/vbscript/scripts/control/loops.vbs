' For with steps, For Each, Do in all four forms, While, Exit.
s = ""
For i = 1 To 10 Step 3 : s = s & i & " " : Next
WScript.Echo Trim(s) ' expect: 1 4 7 10
s = ""
For i = 5 To 1 Step -2 : s = s & i & " " : Next
WScript.Echo Trim(s) ' expect: 5 3 1
s = ""
For x = 0 To 1 Step 0.25 : s = s & x & " " : Next
WScript.Echo Trim(s) ' expect: 0 0.25 0.5 0.75 1
n = 3
For i = 1 To n
  n = 10 ' the bounds were taken once
Next
WScript.Echo i ' expect: 4
For i = 1 To 0 : WScript.Echo "never" : Next
WScript.Echo i ' expect: 1
k = 0
Do While k < 3 : k = k + 1 : Loop
WScript.Echo k ' expect: 3
Do Until k = 0 : k = k - 1 : Loop
WScript.Echo k ' expect: 0
Do : k = k + 1 : Loop While k < 5
WScript.Echo k ' expect: 5
Do : k = k + 1 : Loop Until k >= 5
WScript.Echo k ' expect: 6
While k > 2 : k = k - 1 : Wend
WScript.Echo k ' expect: 2
Do
  k = k + 1
  If k = 7 Then Exit Do
Loop
WScript.Echo k ' expect: 7
For i = 1 To 100
  If i = 4 Then Exit For
Next
WScript.Echo i ' expect: 4
For Each a In Array(1, 2)
  For Each b In Array("x", "y")
    If b = "y" Then Exit For
    WScript.Echo a & b
  Next
Next
' expect: 1x
' expect: 2x
