-- Log lines parsed with Lua's string patterns: the twin of regexp.vbs.
local lines = {}
for i = 0, 59999 do
  lines[#lines + 1] = "2026-12-07 12:" .. string.format("%02d", i % 60) .. ":05 host" .. (i % 17) .. " GET /page/" .. i .. " " .. (200 + (i % 3) * 100) .. " " .. ((i * 37) % 5000)
end
local hits, bytes, digits, width = 0, 0, 0, 0
for _, line in ipairs(lines) do
  if string.find(line, "GET /page/%d+ 200 ") then hits = hits + 1 end
  local host, verb, path, status, size = string.match(line, "host(%d+) (%w+) (%S+) (%d+) (%d+)$")
  bytes = (bytes + tonumber(size) + tonumber(host)) % 1000003
  for number in string.gmatch(line, "%d+") do
    digits = digits + #number
  end
  width = width + #(string.gsub(line, "(%d%d):(%d%d):(%d%d)", "%3.%2.%1", 1))
end
print(hits .. " " .. bytes .. " " .. digits .. " " .. width)
