' With binds an object for .member within its block.
Class Point
  Public X, Y
End Class
Set p = New Point
With p
  .X = 3
  .Y = 4
  WScript.Echo .X * .X + .Y * .Y ' expect: 25
End With
WScript.Echo p.X ' expect: 3
