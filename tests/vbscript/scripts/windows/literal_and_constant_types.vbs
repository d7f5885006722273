' Hex and octal literals with a trailing & take their digits as a 32-bit number and are
' typed by its value; without it, up to 16 bits wrap to an Integer. The vb constants are
' Integers, except vbObjectError, the colours and the MsgBox flags above 32767.
Sub Show(label, v)
    WScript.Echo label & " " & TypeName(v) & " " & v
End Sub
Show "&hFFFF&", &hFFFF&         ' expect: &hFFFF& Long 65535
Show "&h8000&", &h8000&         ' expect: &h8000& Long 32768
Show "&hFFFFFFFF&", &hFFFFFFFF& ' expect: &hFFFFFFFF& Integer -1
Show "&hFFFFFFFE&", &hFFFFFFFE& ' expect: &hFFFFFFFE& Integer -2
Show "&hFFF&", &hFFF&           ' expect: &hFFF& Integer 4095
Show "&hFFFF", &hFFFF           ' expect: &hFFFF Integer -1
Show "&h10000", &h10000         ' expect: &h10000 Long 65536
Show "&o177777&", &o177777&     ' expect: &o177777& Long 65535
Show "&o177777", &o177777       ' expect: &o177777 Integer -1
Show "vbTrue", vbTrue           ' expect: vbTrue Integer -1
Show "vbOKOnly", vbOKOnly       ' expect: vbOKOnly Integer 0
Show "vbSunday", vbSunday       ' expect: vbSunday Integer 1
Show "vbArray", vbArray         ' expect: vbArray Integer 8192
Show "vbSystemModal", vbSystemModal ' expect: vbSystemModal Integer 4096
Show "vbObjectError", vbObjectError ' expect: vbObjectError Long -2147221504
Show "vbRed", vbRed             ' expect: vbRed Long 255
Show "vbYellow", vbYellow       ' expect: vbYellow Long 65535
Show "vbBlack", vbBlack         ' expect: vbBlack Long 0
Show "vbMsgBoxHelpButton", vbMsgBoxHelpButton ' expect: vbMsgBoxHelpButton Long 16384
Show "vbMsgBoxRtlReading", vbMsgBoxRtlReading ' expect: vbMsgBoxRtlReading Long 1048576
