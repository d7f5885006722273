' The console host: WScript members, message and input boxes on the console.
WScript.Echo WScript.ScriptName ' expect: wscript.vbs
WScript.Echo "a", 1, True ' expect: a 1 -1
WScript.StdOut.Write "no newline, "
WScript.StdOut.WriteLine "then one" ' expect: no newline, then one
WScript.Echo WScript.Arguments.Count ' expect: 0
r = MsgBox("Question?", vbYesNo + vbDefaultButton2, "Title") ' expect: Question?
WScript.Echo r = vbNo ' expect: -1
name = InputBox("Your name?") ' expect: Your name?
' stdin: Ada
WScript.Echo "Hello " & name ' expect: Hello Ada
rest = InputBox("More?") ' expect: More?
WScript.Echo "[" & rest & "]" ' expect: []
WScript.Quit 3 ' expect exit: 3
WScript.Echo "not reached"
