' Scripting.Dictionary: adding, reading, keys of different types, order, removal.
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add 2, "two"
d("c") = "see"
WScript.Echo d.Count, d("a"), d(2), d.Item("c") ' expect: 3 1 two see
WScript.Echo d.Exists("a"), d.Exists("A"), d.Exists("2"), d.Exists(2.0) ' expect: -1 0 0 -1
WScript.Echo Join(d.Keys, ","), Join(d.Items, ",") ' expect: a,2,c 1,two,see
For Each k In d
  WScript.Echo k & "=" & d(k)
Next
' expect: a=1
' expect: 2=two
' expect: c=see
d.Remove "a"
d.Key("c") = "z"
WScript.Echo Join(d.Keys, ","), d("z") ' expect: 2,z see
x = d("new") ' reading a missing key adds it
WScript.Echo d.Count, IsEmpty(d("new")) ' expect: 3 -1
On Error Resume Next
d.Add 2, "again"
WScript.Echo Err.Number ' expect: 457
Err.Clear
d.Remove "nothing"
WScript.Echo Err.Number ' expect: 32811
On Error GoTo 0
d.RemoveAll
d.CompareMode = 1
d.Add "Key", 1
WScript.Echo d.Exists("KEY"), TypeName(d) ' expect: -1 Dictionary
