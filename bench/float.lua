-- Floating point: a Mandelbrot set count.
local inside = 0
for y = 0, 479 do
  local ci = y / 240 - 1
  for x = 0, 639 do
    local cr = x / 240 - 2
    local zr, zi, k = 0, 0, 0
    while k < 100 and zr * zr + zi * zi < 4 do
      local t = zr * zr - zi * zi + cr
      zi = 2 * zr * zi + ci
      zr = t
      k = k + 1
    end
    if k == 100 then inside = inside + 1 end
  end
end
print(inside)
