WScript.Echo "before" ' expect: before
x = "abc" * 2 ' expect error 13: Type mismatch
