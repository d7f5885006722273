' A class that ExecuteGlobal defines at run time is there for New in code compiled before.
Function Make()
  Set Make = New Later
End Function
ExecuteGlobal "Class Later : Public Tag : Sub Class_Initialize : Tag = ""late"" : End Sub : End Class"
WScript.Echo Make().Tag ' expect: late
' A script's own class RegExp does not hide the built-in one.
Class RegExp
  Public Pattern
End Class
Set re = New RegExp
re.Pattern = "b+"
WScript.Echo re.Test("abbc") ' expect: -1
