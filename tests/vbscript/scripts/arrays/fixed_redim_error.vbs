Dim a(2)
ReDim a(5) ' expect error 10: This array is fixed or temporarily locked: 'a'
