' Callbacks in assignments and copies: a default property that runs while the right side
' is evaluated, or while a copy's destination is read, may change the variable being
' assigned, delete the file being copied or drop the very object being called.
Dim g, fso, f, folder, sh
Class Changes
    Public mode
    Public Default Property Get V
        Select Case mode
            Case 0: g = "text"
            Case 1: ReDim g(3)
            Case 2: Set g = New Plain
            Case 3: For i = 1 To 300 : ExecuteGlobal "Dim extra" & i : Next
        End Select
        V = 10
    End Property
End Class
Class Plain
    Public Default Property Get V : V = 1 : End Property
End Class
Function Make(m)
    Set Make = New Changes
    Make.mode = m
End Function
For m = 0 To 3
    g = 0
    g = 1 + Make(m)
    WScript.Echo TypeName(g) & " " & g
Next
' expect: Integer 11
' expect: Integer 11
' expect: Integer 11
' expect: Integer 11
Sub InProcedure
    Dim loc
    For m = 0 To 2
        loc = 0
        loc = 2 * Make(m)
        WScript.Echo TypeName(loc) & " " & loc & " " & TypeName(g)
    Next
End Sub
InProcedure
' expect: Integer 20 String
' expect: Integer 20 Variant()
' expect: Integer 20 Plain

Class Destination
    Public mode
    Public Default Property Get V
        Select Case mode
            Case 0: fso.DeleteFile "a.txt"
            Case 1: Set f = Nothing
            Case 2: Set folder = Nothing : Set sh = Nothing
            Case 3: fso.DeleteFolder "box" : fso.CreateTextFile("box").Write "now a file"
        End Select
        V = "b.txt"
    End Property
End Class
Function Dest(m)
    Set Dest = New Destination
    Dest.mode = m
End Function
Set fso = CreateObject("Scripting.FileSystemObject")
Sub Try(what, code)
    On Error Resume Next
    fso.CreateTextFile("a.txt", True).Write "alpha"
    Execute code
    WScript.Echo what & ": " & Err.Number
End Sub
Try "source deleted", "fso.CopyFile ""a.txt"", Dest(0)"
' expect: source deleted: 53
Try "file object dropped, copy", "Set f = fso.GetFile(""a.txt"") : f.Copy Dest(1)"
' expect: file object dropped, copy: 0
WScript.Echo fso.OpenTextFile("b.txt").ReadAll
' expect: alpha
Try "file object dropped, move", "Set f = fso.GetFile(""a.txt"") : f.Move Dest(1)"
' expect: file object dropped, move: 58
Try "file deleted, move", "Set f = fso.GetFile(""a.txt"") : fso.DeleteFile ""b.txt"" : f.Move Dest(0)"
' expect: file deleted, move: 53
fso.CreateFolder "box"
fso.CreateTextFile("box\in.txt").Write "inside"
Try "source folder replaced", "fso.CopyFolder ""box"", Dest(3)"
' expect: source folder replaced: 76
Set sh = CreateObject("Shell.Application")
fso.CreateFolder "into"
Set folder = sh.Namespace(fso.GetAbsolutePathName("into"))
fso.CreateTextFile("b.txt", True).Write "beta"
Try "shell objects dropped", "folder.CopyHere Dest(2)"
' expect: shell objects dropped: 0
WScript.Echo fso.OpenTextFile("into\b.txt").ReadAll
' expect: beta
