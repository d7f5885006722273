' A numeric literal that no Double holds is refused before anything runs.
WScript.Echo "never printed"
x = 1e999 ' expect error 6: Overflow
