' VBScript's own generator: the same numbers in every run, Rnd(0) the last one again,
' Rnd(-n) a fresh start that depends on n alone, Randomize n a sequence that depends on n.
WScript.Echo Rnd, Rnd, Rnd(0), Rnd ' expect: 0.7055475 0.533424 0.533424 0.5795186
WScript.Echo Rnd(-1), Rnd(-1), Rnd ' expect: 0.224007 0.224007 0.03584582
Rnd -5
Randomize 5
a = Rnd
Rnd -5
Randomize 5
b = Rnd
Rnd -5
Randomize 6
c = Rnd
WScript.Echo a = b, a = c, a >= 0 And a < 1 ' expect: -1 0 -1
