' Dictionary keys as VBScript compares them, and the order kept through many removals.
Set d = CreateObject("Scripting.Dictionary")
d.Add 1, "one"
WScript.Echo d.Exists("1"), d.Exists(1.0), d.Exists(CLng(1)), d.Exists(CCur(1)), d.Exists(CByte(1)) ' expect: 0 -1 -1 -1 -1
d.Add "1", "text one"
WScript.Echo d.Count, d(1), d("1") ' expect: 2 one text one
Set a = New RegExp
Set b = New RegExp
d.Add a, "first object"
d.Add b, "second object"
WScript.Echo d(a), d(b), d.Count ' expect: first object second object 4
d.Add Empty, "empty"
WScript.Echo d(Empty), d.Exists(""), d.Exists(0) ' expect: empty 0 0

Set t = CreateObject("Scripting.Dictionary")
t.CompareMode = vbTextCompare
t.Add "Straße", 1
WScript.Echo t.Exists("straße"), t.Exists("STRAßE"), t.Exists("Strasse") ' expect: -1 -1 0
On Error Resume Next
t.CompareMode = vbBinaryCompare
WScript.Echo "CompareMode on a full dictionary:", Err.Number ' expect: CompareMode on a full dictionary: 5
On Error GoTo 0

' Remove most keys: the rest keep their order; Key renames in place.
Set r = CreateObject("Scripting.Dictionary")
For i = 1 To 1000
  r.Add "k" & i, i
Next
For i = 1 To 1000
  If i Mod 100 <> 0 Then r.Remove "k" & i
Next
r.Key("k500") = "five hundred"
WScript.Echo r.Count, Join(r.Keys, ",") ' expect: 10 k100,k200,k300,k400,five hundred,k600,k700,k800,k900,k1000
r.Add "k1", "back"
WScript.Echo r.Count, r.Items()(10), r("five hundred") ' expect: 11 back 500
r.RemoveAll
WScript.Echo r.Count, UBound(r.Keys) ' expect: 0 -1
