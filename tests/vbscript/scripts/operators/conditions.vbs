' Comparisons and And/Or as conditions of If, ElseIf, Do and While: each operand type,
' Null counting as False, both sides of And/Or always evaluated.
Dim n, calls
n = Null
Function Side(v)
    calls = calls + 1
    Side = v
End Function
Sub Check(label, result)
    WScript.Echo label & ": " & result
End Sub

If 1 < 2 Then Check "int", "yes" Else Check "int", "no" ' expect: int: yes
If 2.5 >= 2 Then Check "double", "yes" Else Check "double", "no" ' expect: double: yes
If CLng(7) = 7.0 Then Check "mixed", "yes" Else Check "mixed", "no" ' expect: mixed: yes
If "10" < "9" Then Check "strings", "yes" Else Check "strings", "no" ' expect: strings: yes
If "10" > 9 Then Check "string and number", "yes" Else Check "string and number", "no" ' expect: string and number: yes
If Empty = 0 Then Check "empty", "yes" Else Check "empty", "no" ' expect: empty: yes
If True = -1 Then Check "boolean", "yes" Else Check "boolean", "no" ' expect: boolean: yes
If n = 1 Then Check "null =", "yes" Else Check "null =", "no" ' expect: null =: no
If n <> 1 Then Check "null <>", "yes" Else Check "null <>", "no" ' expect: null <>: no

' Null And True is Null, Null Or True is True, Null Or False is Null.
If n = 1 And 1 = 1 Then Check "null and true", "yes" Else Check "null and true", "no" ' expect: null and true: no
If n = 1 Or 1 = 1 Then Check "null or true", "yes" Else Check "null or true", "no" ' expect: null or true: yes
If n = 1 Or 1 = 2 Then Check "null or false", "yes" Else Check "null or false", "no" ' expect: null or false: no
If 1 < 2 And 2.5 < 3 Then Check "and", "yes" Else Check "and", "no" ' expect: and: yes
If 1 > 2 Or "b" > "a" Then Check "or", "yes" Else Check "or", "no" ' expect: or: yes

' No short circuit: both sides run.
calls = 0
If Side(1) > 2 And Side(2) > 1 Then Check "both", "yes"
Check "calls after And", calls ' expect: calls after And: 2
calls = 0
If Side(1) < 2 Or Side(2) > 1 Then Check "calls after Or", calls ' expect: calls after Or: 2

' A loop on a compound condition.
Dim k, x
k = 0 : x = 0.5
Do While k < 10 And x * x < 100
    k = k + 1 : x = x * 2
Loop
Check "loop", k & " " & x ' expect: loop: 5 16

' A failing comparison under On Error Resume Next goes on into the block.
Dim d
Set d = CreateObject("Scripting.Dictionary")
On Error Resume Next
If d < 1 And 1 < 2 Then Check "error", Err.Number ' expect: error: 450
On Error GoTo 0
