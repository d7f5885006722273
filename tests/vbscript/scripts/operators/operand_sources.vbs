' Every operator gives the same result whatever its operands come from: a local, a global,
' a literal or a computed value, on either side; the left operand keeps the value it had
' when the right side changes its variable; errors and type promotions are the same.
Dim g, gd, gs, gn
g = 7 : gd = 2.5 : gs = "3" : gn = Null

Function Bump()
    g = g + 100
    Bump = 1
End Function

Sub Show(label, v)
    WScript.Echo label & " " & TypeName(v) & " " & v
End Sub

Sub FromLocals()
    Dim l, ld
    l = 7 : ld = 2.5
    Show "local+local", l + l          ' expect: local+local Integer 14
    Show "local*global", l * gd        ' expect: local*global Double 17.5
    Show "local-literal", l - 10       ' expect: local-literal Integer -3
    Show "literal/local", 1 / l * 7    ' expect: literal/local Double 1
    Show "local\computed", l \ (1 + 1) ' expect: local\computed Integer 3
    Show "computed mod local", (l + 6) Mod l ' expect: computed mod local Integer 6
    Show "local<global", l < g         ' expect: local<global Boolean False
    Show "local>=literal", ld >= 2.5   ' expect: local>=literal Boolean True
    Show "local=string", l = gs        ' expect: local=string Boolean False
    Show "local and local", (l > 1) And (ld > 1) ' expect: local and local Boolean True
    Dim big
    big = 32767
    Show "integer overflow", big + 1   ' expect: integer overflow Long 32768
    big = 2147483647
    Show "long overflow", big + 1      ' expect: long overflow Double 2147483648
End Sub
FromLocals

Show "global+global", g + g            ' expect: global+global Integer 14
Show "global-string", g - gs           ' expect: global-string Double 4
Show "global+null", g + gn             ' expect: global+null Null 
Show "literal<>global", 7 <> g         ' expect: literal<>global Boolean False
Show "computed*computed", (g + 1) * (gd * 2) ' expect: computed*computed Double 40
Show "literal mod literal", 17 Mod 5   ' expect: literal mod literal Integer 2
Show "string&global", "n=" & g         ' expect: string&global String n=7

' The left operand is read before the right side runs.
g = 7
Show "global then call", g + Bump()    ' expect: global then call Integer 8
Show "after", g                        ' expect: after Integer 107
g = 7
Show "call then global", Bump() + g    ' expect: call then global Integer 108

' Division by zero and overflow from each kind of operand.
On Error Resume Next
Dim zero
zero = 0
Err.Clear : x = g / zero : Show "global/zero", Err.Number    ' expect: global/zero Long 11
Err.Clear : x = 1 \ zero : Show "literal\zero", Err.Number   ' expect: literal\zero Long 11
Err.Clear : x = (zero * 1) / 0 : Show "zero/zero", Err.Number   ' expect: zero/zero Long 6
Err.Clear : x = 1E308 * 10 : Show "double overflow", Err.Number ' expect: double overflow Long 6
Err.Clear : x = g Mod zero : Show "mod zero", Err.Number      ' expect: mod zero Long 11
