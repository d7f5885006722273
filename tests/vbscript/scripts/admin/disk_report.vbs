' In the style of Windows' sample admin scripts: Select Case with the statement on the Case
' line, a helper defined twice (the last one counts), On Error Resume Next with the
' description printed, Err.Raise with some arguments left out.
Option Explicit
Dim strComputer, arrSizes, intSize, strClass, intErrors

Function FormatSize(bytes)
    FormatSize = bytes & " bytes"
End Function

strComputer = "."
arrSizes = Array(512, 2048, 5242880, -1)
intErrors = 0

For Each intSize In arrSizes
    Select Case True
        Case intSize < 0 strClass = "invalid"
        Case intSize < 1024 strClass = "tiny"
        Case intSize < 1048576 strClass = "small"
        Case Else strClass = "large"
    End Select
    WScript.Echo strComputer & ": " & FormatSize(intSize) & " (" & strClass & ")"
Next
' expect: .: 512 B (tiny)
' expect: .: 2 KB (small)
' expect: .: 5 MB (large)
' expect: .: -1 B (invalid)

On Error Resume Next
CheckSize -1
If Err.Number <> 0 Then
    WScript.Echo "Error " & Err.Number & ": " & Err.Description & " (" & Err.Source & ")"
    intErrors = intErrors + 1
    Err.Clear
End If
' expect: Error 1001: Size out of range (DiskReport)
Dim x : x = 1 / 0
WScript.Echo "Error " & Err.Number & ": " & Err.Description
' expect: Error 11: Division by zero
Err.Raise 1002
WScript.Echo "Error " & Err.Number & ": " & Err.Description
' expect: Error 1002: Division by zero
On Error GoTo 0
WScript.Echo "Errors: " & intErrors ' expect: Errors: 1

Sub CheckSize(bytes)
    If bytes < 0 Then Err.Raise 1001, "DiskReport", "Size out of range"
End Sub

' The later definition is the one every call uses.
Function FormatSize(bytes)
    If bytes >= 1048576 Then
        FormatSize = bytes \ 1048576 & " MB"
    ElseIf bytes >= 1024 Then
        FormatSize = bytes \ 1024 & " KB"
    Else
        FormatSize = bytes & " B"
    End If
End Function
