' Array sorting: insertion sort of pseudo-random numbers.
Const N = 8000
Dim a(7999), i, j, v, seed, checksum
seed = 42
For i = 0 To N - 1
  seed = (seed * 1103 + 12345) Mod 65536
  a(i) = seed
Next
For i = 1 To N - 1
  v = a(i)
  j = i - 1
  Do While j >= 0
    If a(j) <= v Then Exit Do
    a(j + 1) = a(j)
    j = j - 1
  Loop
  a(j + 1) = v
Next
checksum = 0
For i = 0 To N - 1 Step 100
  checksum = checksum + a(i)
Next
WScript.Echo checksum
