' Floating point: a Mandelbrot set count.
Dim x, y, cr, ci, zr, zi, t, k, inside
inside = 0
For y = 0 To 239
  ci = y / 120 - 1
  For x = 0 To 319
    cr = x / 120 - 2
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
