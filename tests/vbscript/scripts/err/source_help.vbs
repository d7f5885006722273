' Err.Source names where an error came from; HelpFile and HelpContext are kept.
On Error Resume Next
x = 1 / 0
WScript.Echo Err.Source ' expect: Microsoft VBScript runtime error
Err.Clear
Execute "x = (1 +"
WScript.Echo Err.Number, Err.Source ' expect: 1023 Microsoft VBScript compilation error
Err.Clear
Err.Raise 1000, "MyApp", "broke", "help.chm", 42
WScript.Echo Err.Source, Err.Description, Err.HelpFile, Err.HelpContext ' expect: MyApp broke help.chm 42
Err.Clear
WScript.Echo "[" & Err.Source & "]", Err.HelpContext ' expect: [] 0
Err.HelpFile = "other.chm"
WScript.Echo Err.HelpFile ' expect: other.chm
