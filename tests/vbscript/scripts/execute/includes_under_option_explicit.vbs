' The include idiom: ExecuteGlobal of a library's text defines procedures, variables and
' classes, and a script under Option Explicit then uses them. A name is looked for when
' its statement runs; one that still does not exist is 500.
Option Explicit
Dim fso, lib
Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateFolder "lib"
Set lib = fso.CreateTextFile("lib\helpers.vbs")
lib.WriteLine "Dim greeting : greeting = ""Hello"""
lib.WriteLine "Sub Greet(who) : WScript.Echo greeting & "", "" & who : End Sub"
lib.WriteLine "Function Twice(n) : Twice = 2 * n : End Function"
lib.WriteLine "Class Counter : Public Count : End Class"
lib.Close
ExecuteGlobal fso.OpenTextFile("lib\helpers.vbs").ReadAll
Greet "world"                  ' expect: Hello, world
WScript.Echo Twice(21)         ' expect: 42
Dim c : Set c = New Counter : c.Count = 3
WScript.Echo c.Count           ' expect: 3
greeting = "Hi" : Greet "again" ' expect: Hi, again
WScript.Echo notDefinedAnywhere ' expect error 500: Variable is undefined: 'notDefinedAnywhere'
