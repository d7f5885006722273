' Property Set takes objects; an assignment without Set needs a Property Let.
Class Holder
  Private m_thing
  Public Property Set Thing(o)
    Set m_thing = o
  End Property
  Public Property Get Thing
    Set Thing = m_thing
  End Property
End Class
Set h = New Holder
Set h.Thing = CreateObject("Scripting.Dictionary")
h.Thing.Add "k", "v"
WScript.Echo TypeName(h.Thing), h.Thing("k") ' expect: Dictionary v
On Error Resume Next
h.Thing = 5
WScript.Echo Err.Number ' expect: 450
