' A number directly followed by a keyword, and & before a name as the operator.
WScript.Echo (1or 2), (&h01or&h02), (6and 3) ' expect: 3 3 2
hi = "there"
WScript.Echo "x" &hi ' expect: xthere
