-- String building and scanning.
local parts = {}
for i = 1, 3000000 do
  parts[#parts + 1] = string.char(65 + i % 26)
end
local s = table.concat(parts)
local count = 0
for i = 1, #s, 7 do
  if string.sub(s, i, i) == "Q" then count = count + 1 end
end
print(#s .. " " .. count)
