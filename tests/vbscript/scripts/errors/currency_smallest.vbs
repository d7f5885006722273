' The smallest Currency has no positive twin: negating it overflows.
On Error Resume Next
c = CCur("-922337203685477.5808")
WScript.Echo c ' expect: -922337203685477.5808
x = -c : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = Abs(c) : WScript.Echo Err.Number : Err.Clear ' expect: 6
x = CInt(c) : WScript.Echo Err.Number : Err.Clear ' expect: 6
WScript.Echo -CCur("922337203685477.5807") ' expect: -922337203685477.5807
