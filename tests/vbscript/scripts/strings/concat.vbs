' & joins anything as text; + adds numbers and joins two texts.
WScript.Echo "a" & 1 & True & Empty & Null ' expect: a1True
WScript.Echo "1" + "2", "1" + 2, 1 + "2.5", "x" + Empty ' expect: 12 3 3.5 x
s = ""
For i = 1 To 1000
  s = s & "ab"
Next
WScript.Echo Len(s), Left(s, 4) ' expect: 2000 abab
t = "x"
t = t & t & t
WScript.Echo t ' expect: xxx
