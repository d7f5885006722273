' System.Collections.ArrayList as COM scripts use it: the usual way to sort in VBScript.
Set list = CreateObject("System.Collections.ArrayList")
For Each w In Split("pear Banana apple cherry Apple banana")
    list.Add w
Next
WScript.Echo list.Count & " " & list(0) & " " & list.Item(1) ' expect: 6 pear Banana
list.Sort
WScript.Echo Join(list.ToArray(), ",") ' expect: apple,Apple,banana,Banana,cherry,pear
list.Reverse
WScript.Echo list(0) & " " & list(list.Count - 1) ' expect: pear apple
WScript.Echo list.Contains("cherry") & " " & list.IndexOf("cherry") & " " & list.IndexOf("nothing") ' expect: True 1 -1
list.Remove "cherry" : list.RemoveAt 0 : list.Insert 0, "first"
WScript.Echo Join(list.ToArray(), ",") ' expect: first,Banana,banana,Apple,apple
list(1) = "second"
WScript.Echo list(1) & " " & list.Add("last") ' expect: second 5
Set numbers = CreateObject("System.Collections.ArrayList")
For Each n In Array(10, 2.5, 33, -1, 7) : numbers.Add n : Next
numbers.Sort
WScript.Echo Join(numbers.ToArray(), " ") ' expect: -1 2.5 7 10 33
Set copy = numbers.Clone : copy.Clear
WScript.Echo numbers.Count & " " & copy.Count ' expect: 5 0
total = 0
For Each n In numbers : total = total + n : Next
WScript.Echo total ' expect: 51.5
numbers.RemoveRange 1, 2
WScript.Echo Join(numbers.ToArray(), " ") ' expect: -1 10 33
' .NET's exceptions, as Windows hands them to scripts.
On Error Resume Next
x = numbers(3)
WScript.Echo Hex(Err.Number) & " " & Left(Err.Description, 22) ' expect: 80131502 Index was out of range
Err.Clear
numbers.Add "text" : numbers.Sort
WScript.Echo Hex(Err.Number) & " " & Err.Description ' expect: 80131509 Failed to compare two elements in the array.
