' Keywords and names in any letter case, comments, separators, continuation.
DIM Total : total = 1 : TOTAL = Total + 1
wscript.echo total ' expect: 2
Rem a whole-line comment
x = 1 + _
    2 + _
    3
WScript.Echo x ' expect: 6
WScript.Echo "say ""hi""" ' expect: say "hi"
WScript.Echo "" ' expect:
[my var] = 5 : WScript.Echo [my var] ' expect: 5
If x = 6 Then WScript.Echo "six" ' expect: six
WScript.Echo "a" : WScript.Echo "b" ' expect: a
' expect: b
