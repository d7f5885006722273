WScript.Echo "never runs: the text does not compile"
If True Then
  x = 1
' expect error 1014: Expected 'End'
