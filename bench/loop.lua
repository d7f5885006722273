-- Integer loop arithmetic.
local total = 0
for i = 1, 20000000 do
  total = (total + i * 7 + (i % 13)) % 1000003
end
print(total)
