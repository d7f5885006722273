' Objects: made and released, properties read and written, methods called.
Class Point
  Private mX, mY
  Public Property Get X : X = mX : End Property
  Public Property Let X(v) : mX = v : End Property
  Public Property Get Y : Y = mY : End Property
  Public Property Let Y(v) : mY = v : End Property
  Public Sub Move(dx, dy)
    mX = mX + dx
    mY = mY + dy
  End Sub
  Public Function Dist2()
    Dist2 = mX * mX + mY * mY
  End Function
End Class
Dim p, q, i, total
total = 0
Set q = New Point
q.X = 0 : q.Y = 0
For i = 1 To 600000
  Set p = New Point
  p.X = i Mod 100
  p.Y = i Mod 37
  p.Move 1, 2
  q.Move p.X, 1
  total = (total + p.Dist2() + q.X Mod 7) Mod 1000003
Next
WScript.Echo total & " " & q.Y
