-- Array sorting: insertion sort of pseudo-random numbers.
local N = 8000
local a = {}
local seed = 42
for i = 0, N - 1 do
  seed = (seed * 1103 + 12345) % 65536
  a[i] = seed
end
for i = 1, N - 1 do
  local v = a[i]
  local j = i - 1
  while j >= 0 do
    if a[j] <= v then break end
    a[j + 1] = a[j]
    j = j - 1
  end
  a[j + 1] = v
end
local checksum = 0
for i = 0, N - 1, 100 do
  checksum = checksum + a[i]
end
print(checksum)
