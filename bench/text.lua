-- Text handling with Lua's string library: the twin of text.vbs.
local function split(s, sep)
  local out, from = {}, 1
  while true do
    local at = string.find(s, sep, from, true)
    if not at then out[#out + 1] = string.sub(s, from); return out end
    out[#out + 1] = string.sub(s, from, at - 1)
    from = at + #sep
  end
end
local total, found, upper = 0, 0, 0
for i = 1, 150000 do
  local line = "item" .. i .. ",alpha,beta," .. (i % 97) .. ",gamma delta"
  local parts = split(line, ",")
  total = total + (#parts - 1) + #parts[1]
  if string.find(line, "ta,", 1, true) then found = found + string.find(line, "gamma", 1, true) end
  line = string.gsub(line, "alpha", "ALPHA")
  upper = upper + #string.upper(string.sub(line, 5, 12))
  local words = table.concat(parts, ";")
  total = (total + #words + string.byte(words, -1)) % 1000003
end
print(total .. " " .. found .. " " .. upper)
