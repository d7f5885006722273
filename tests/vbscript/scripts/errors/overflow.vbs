x = CInt(40000) ' expect error 6: Overflow: 'CInt'
