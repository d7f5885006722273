' A service table in the style of Windows' scripts: classes with Me., statements ending in
' End on their line, a class that ExecuteGlobal adds, Windows paths handed to FileSystemObject.
Class Service
    Public Name, State
    Public Sub Init(n, s) Me.Name = n : Me.State = s End Sub
    Public Function Describe()
        Select Case Me.State
            Case 1 Describe = Me.Name & " is stopped"
            Case 4 Describe = Me.Name & " is running"
            Case Else Describe = Me.Name & " is in state " & Me.State
        End Select
    End Function
End Class

Dim list(2), i
For i = 0 To 2
    Set list(i) = New Service
Next
list(0).Init "Spooler", 4
list(1).Init "Themes", 1
list(2).Init "W32Time", 7
For i = 0 To UBound(list)
    WScript.Echo list(i).Describe()
Next
' expect: Spooler is running
' expect: Themes is stopped
' expect: W32Time is in state 7

ExecuteGlobal "Class Counter : Public Total : Sub Add(n) Total = Total + n End Sub : End Class"
Dim c : Set c = New Counter
c.Add 3 : c.Add 4
WScript.Echo "Total: " & c.Total ' expect: Total: 7

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo fso.GetFileName("C:\Windows\System32\drivers\etc\hosts") ' expect: hosts
WScript.Echo fso.FileExists("C:\Windows\System32\drivers\etc\hosts") ' expect: 0
On Error Resume Next
fso.CreateFolder "C:\Temp\Reports"
WScript.Echo "CreateFolder: " & Err.Number & " " & Err.Description ' expect: CreateFolder: 76 Path not found
