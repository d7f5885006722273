' Outside a class, Property is an ordinary name.
Dim property
property = "value"
WScript.Echo property ' expect: value
list = Array("first")
property = list(0)
WScript.Echo property ' expect: first
