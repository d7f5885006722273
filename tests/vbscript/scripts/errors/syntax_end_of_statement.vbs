x = 1 2 ' expect error 1025: Expected end of statement
