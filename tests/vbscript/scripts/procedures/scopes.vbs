' Globals, locals, implicit variables, Const, Private/Public at script level.
Public g
Private h
Const Greeting = "hi", Twice = 2 * 21
g = 1
Sub Touch()
  Dim g
  g = 100 ' a local that hides the global
  h = 5   ' the global
End Sub
Touch
WScript.Echo g, h ' expect: 1 5
Sub Fresh()
  WScript.Echo IsEmpty(onlyHere)
  onlyHere = 1 ' an implicit local: gone when the Sub returns
End Sub
Fresh ' expect: -1
Fresh ' expect: -1
WScript.Echo Greeting, Twice ' expect: hi 42
Function UsesLater()
  UsesLater = later
End Function
later = "defined after"
WScript.Echo UsesLater() ' expect: defined after
Sub LocalConst()
  Const Inner = 3
  WScript.Echo Inner * 2
End Sub
LocalConst ' expect: 6
