' Queue, Stack, SortedList, Hashtable, Random and StringBuilder from System.
Set q = CreateObject("System.Collections.Queue")
q.Enqueue "a" : q.Enqueue "b" : q.Enqueue "c"
WScript.Echo q.Dequeue & q.Peek & q.Count ' expect: ab2
Set s = CreateObject("System.Collections.Stack")
s.Push 1 : s.Push 2 : s.Push 3
WScript.Echo s.Pop & " " & s.Peek & " " & Join(s.ToArray, ",") ' expect: 3 2 2,1
s.Clear
On Error Resume Next
x = s.Pop
WScript.Echo Hex(Err.Number) & " " & Err.Description ' expect: 80131509 Stack empty.
Err.Clear
On Error GoTo 0
Set sl = CreateObject("System.Collections.SortedList")
sl.Add "pear", 3 : sl.Add "apple", 1 : sl.Add "Banana", 2
WScript.Echo sl.GetKey(0) & " " & sl.GetByIndex(1) & " " & sl.IndexOfKey("pear") & " " & sl("apple") ' expect: apple 2 2 1
For Each k In sl.Keys : keys = keys & k & ";" : Next
WScript.Echo keys & " " & sl.Count & " " & sl.ContainsKey("kiwi") ' expect: apple;Banana;pear; 3 False
Set h = CreateObject("System.Collections.Hashtable")
h.Add "one", 1 : h("two") = 2 : h.Add 3, "three"
WScript.Echo h("one") + h("two") & " " & h(3) & " " & h.Count & " " & h.ContainsValue(2) ' expect: 3 three 3 True
h.Remove "one"
WScript.Echo h.ContainsKey("one") & " " & IsEmpty(h("missing")) ' expect: False True
Set r = CreateObject("System.Random")
ok = True
For i = 1 To 1000
    n = r.Next_2(5, 10)
    If n < 5 Or n > 9 Then ok = False
    d = r.NextDouble
    If d < 0 Or d >= 1 Then ok = False
Next
WScript.Echo ok ' expect: -1
Set sb = CreateObject("System.Text.StringBuilder")
sb.Append_3 "Hello" : sb.Append_3 ", " : sb.AppendFormat "{0} has {1,3} items", "list", 7
WScript.Echo sb.ToString & " " & sb.Length ' expect: Hello, list has   7 items 25
