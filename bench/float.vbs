' Floating point: a Mandelbrot set count.
Dim x, y, cr, ci, zr, zi, t, k, inside
inside = 0
For y = 0 To 479
  ci = y / 240 - 1
  For x = 0 To 639
    cr = x / 240 - 2
    zr = 0 : zi = 0 : k = 0
    Do While k < 100 And zr * zr + zi * zi < 4
      t = zr * zr - zi * zi + cr
      zi = 2 * zr * zi + ci
      zr = t
      k = k + 1
    Loop
    If k = 100 Then inside = inside + 1
  Next
Next
WScript.Echo inside
