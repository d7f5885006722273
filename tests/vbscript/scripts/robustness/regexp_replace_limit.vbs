' A replacement that would build a string past the engine's limit is error 7.
Set re = New RegExp
re.Global = True
re.Pattern = "a"
s = String(200000, "a")
t = re.Replace(s, s) ' expect error 7: Out of memory: 're.Replace'
