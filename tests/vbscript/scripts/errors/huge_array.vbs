ReDim a(100000, 100000) ' expect error 7: Out of memory
