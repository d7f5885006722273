' RegExp: Test, Execute with matches and submatches, Replace with groups, the flags.
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)\.com"
WScript.Echo re.Test("mail ann@example.com now"), re.Test("no mail") ' expect: -1 0
re.Global = True
Set ms = re.Execute("ann@one.com, bob@two.com")
WScript.Echo ms.Count, ms(1).Value, ms(1).FirstIndex, ms(1).Length ' expect: 2 bob@two.com 13 11
WScript.Echo ms(0).SubMatches(0), ms(0).SubMatches(1), ms(0).SubMatches.Count ' expect: ann one 2
For Each m In ms
  WScript.Echo m
Next
' expect: ann@one.com
' expect: bob@two.com
WScript.Echo re.Replace("ann@one.com, bob@two.com", "$2:$1") ' expect: one:ann, two:bob
re.Global = False
WScript.Echo re.Replace("ann@one.com, bob@two.com", "[$&]") ' expect: [ann@one.com], bob@two.com
re.Pattern = "^b"
re.IgnoreCase = True
re.Multiline = True
re.Global = True
WScript.Echo re.Replace("a" & vbLf & "B" & vbLf & "b", "x") = "a" & vbLf & "x" & vbLf & "x" ' expect: -1
Set re2 = CreateObject("VBScript.RegExp")
re2.Pattern = "("
On Error Resume Next
re2.Test "x"
WScript.Echo Err.Number ' expect: 5017
