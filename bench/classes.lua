-- Objects as tables with a metatable: the twin of classes.vbs, with accessor methods.
local Point = {}
Point.__index = Point
function Point.new() return setmetatable({mX = nil, mY = nil}, Point) end
function Point:getX() return self.mX end
function Point:setX(v) self.mX = v end
function Point:getY() return self.mY end
function Point:setY(v) self.mY = v end
function Point:move(dx, dy)
  self.mX = self.mX + dx
  self.mY = self.mY + dy
end
function Point:dist2() return self.mX * self.mX + self.mY * self.mY end
local total = 0
local q = Point.new()
q:setX(0); q:setY(0)
for i = 1, 600000 do
  local p = Point.new()
  p:setX(i % 100)
  p:setY(i % 37)
  p:move(1, 2)
  q:move(p:getX(), 1)
  total = (total + p:dist2() + q:getX() % 7) % 1000003
end
print(total .. " " .. q:getY())
