' A procedure defined twice is no error: the last definition wins, for every call.
Sub Helper : WScript.Echo "first" : End Sub
Helper ' expect: second
Sub Helper : WScript.Echo "second" : End Sub
Helper ' expect: second
