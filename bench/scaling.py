#!/usr/bin/env python3
"""Times each operation that scripts put in loops at n and at 4n and prints the ratio of
the two times (start-up subtracted). Linear work gives about 4; the ratio must stay under 6.

    bench/scaling.py [path/to/vbsrun]
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# Each operation: a script for a given size (@N@ stands for it), and the size to start from.
OPERATIONS = {
    "Dictionary Add, Exists, Item, Remove": ("""
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To @N@ : d.Add "k" & i, i : Next
For i = 1 To @N@ : If d.Exists("k" & i) Then d("k" & i) = d("k" & i) + 1
Next
For i = 1 To @N@ Step 2 : d.Remove "k" & i : Next
For Each k In d.Keys : s = s + d(k) : Next
d.RemoveAll
""", 100000),
    "Dictionary Key rename and implicit add": ("""
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To @N@ : x = d(i) : Next
For i = 1 To @N@ : d.Key(i) = "r" & i : Next
""", 100000),
    "Matches: global Execute, For Each": ("""
Set re = New RegExp
re.Global = True
re.Pattern = "\\d+"
s = String(@N@, "a") & Replace(Space(@N@), " ", "7 ")
For Each m In re.Execute(s) : c = c + m.Length : Next
""", 100000),
    "SubMatches of each match": ("""
Set re = New RegExp
re.Global = True
re.Pattern = "(\\d)(\\d)"
s = Replace(Space(@N@), " ", "12 ")
For Each m In re.Execute(s) : c = c + Len(m.SubMatches(1)) : Next
""", 50000),
    "Folder.Files and Item by name": ("""
Set fso = CreateObject("Scripting.FileSystemObject")
Set folder = fso.GetFolder("DIR")
Set files = folder.Files
For Each f In files : c = c + 1 : Next
For i = 1 To @N@ : c = c + files.Item("f" & i & ".txt").Size : Next
""", 3000),
    "Split and Join": ("""
s = Replace(Space(@N@), " ", "ab,")
a = Split(s, ",")
t = Join(a, ";")
""", 500000),
    "Filter": ("""
a = Split(Replace(Space(@N@), " ", "ab,cd,"), ",")
b = Filter(a, "a")
""", 300000),
    "ReDim Preserve, one element at a time": ("""
ReDim a(0)
For i = 1 To @N@
  ReDim Preserve a(i)
  a(i) = i
Next
""", 500000),
    "s = s & x": ("""
s = ""
For i = 1 To @N@ : s = s & "x" : Next
""", 2000000),
    "s = s & a & b & c (global)": ("""
s = ""
For i = 1 To @N@ : s = s & "item" & i & ";" : Next
""", 100000),
    "s = s & a & b & c (local)": ("""
Sub Build()
  Dim s
  s = ""
  For i = 1 To @N@ : s = s & "item" & i & ";" : Next
End Sub
Build
""", 100000),
    "arr(i) = arr(i) & a & b": ("""
Dim arr(3)
arr(2) = ""
For i = 1 To @N@ : arr(2) = arr(2) & "item" & i : Next
""", 100000),
    "Me.buf = Me.buf & a, buf = buf & a, o.buf = o.buf & a": ("""
Class Report
  Public buf
  Sub Add(x)
    Me.buf = Me.buf & "<" & x
    buf = buf & ">"
  End Sub
End Class
Set r = New Report : r.buf = ""
For i = 1 To @N@ : r.Add i : r.buf = r.buf & ";" & i : Next
""", 50000),
    "With o : .buf = .buf & a & b": ("""
Class Report : Public buf : End Class
Set r = New Report : r.buf = ""
With r
  For i = 1 To @N@ : .buf = .buf & "item" & i : Next
End With
""", 100000),
    "Mid, Left, Right, InStr on a long string": ("""
s = String(@N@, "a") & "b"
For i = 1 To @N@
  c = c + Len(Mid(s, i, 1)) + Len(Left(s, 2)) + Len(Right(s, 2)) + InStr(@N@ - 5, s, "b")
Next
""", 100000),
    "Replace and UCase on a long string": ("""
s = String(@N@, "a")
For i = 1 To 20
  t = UCase(Replace(s, "a", "bc"))
Next
""", 200000),
}


def time_script(vbsrun, text, folder, runs=5):
    path = os.path.join(folder, "op.vbs")
    with open(path, "w") as f:
        f.write(text)
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([vbsrun, path], check=True, capture_output=True, cwd=folder)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    vbsrun = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "tools", "vbsrun", "vbsrun")
    with tempfile.TemporaryDirectory() as folder:
        startup = time_script(vbsrun, "x = 1\n", folder, 10)
        files = os.path.join(folder, "files")
        os.mkdir(files)
        print("%-42s %9s %9s %9s %9s %6s" % ("operation", "n", "time (s)", "4n", "time (s)", "ratio"))
        worst = 0
        for name, (template, n) in OPERATIONS.items():
            times = []
            for size in (n, 4 * n):
                if "DIR" in template:
                    for i in range(1, size + 1):
                        open(os.path.join(files, "f%d.txt" % i), "w").close()
                text = template.replace("DIR", files).replace("@N@", str(size))
                times.append(max(time_script(vbsrun, text, folder) - startup, 1e-4))
            ratio = times[1] / times[0]
            worst = max(worst, ratio)
            print("%-42s %9d %9.3f %9d %9.3f %6.2f" % (name, n, times[0], 4 * n, times[1], ratio))
        print("worst ratio: %.2f (linear is 4; must stay under 6)" % worst)
    return 0 if worst < 6 else 1


if __name__ == "__main__":
    sys.exit(main())
