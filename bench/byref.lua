-- Procedure calls with by-reference arguments (returned, as Lua passes by value).
local function step(a, b)
  local t = a + b
  return b, t % 1000007
end
local x, y = 0, 1
for i = 1, 9000000 do
  x, y = step(x, y)
end
print(y)
