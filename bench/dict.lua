-- Tables as dictionaries: the twin of dict.vbs (Lua keeps its own count).
local n = 200000
local d, count = {}, 0
for i = 1, n do
  d["key" .. i] = i
  count = count + 1
end
for i = 1, n, 3 do
  local k = "key" .. i
  if d[k] ~= nil then d[k] = d[k] * 2 end
end
for i = 1, n, 4 do
  d["key" .. i] = nil
  count = count - 1
end
local sum = 0
for k, v in pairs(d) do
  sum = (sum + v) % 1000003
end
local c, ccount = {}, 0
for i = 1, n * 2 do
  local k = (i * 7) % 5003
  if c[k] == nil then c[k] = 0; ccount = ccount + 1 end
  c[k] = c[k] + 1
end
local counted = 0
for k, v in pairs(c) do
  counted = (counted + k * v) % 1000003
end
print(count .. " " .. sum .. " " .. ccount .. " " .. counted)
