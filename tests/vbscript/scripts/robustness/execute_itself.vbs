' Execute running its own text nests without end: error 28, never a crash.
s = "Execute s"
Execute s ' expect error 28: Out of stack space
