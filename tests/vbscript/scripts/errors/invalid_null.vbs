x = CStr(Null) ' expect error 94: Invalid use of Null: 'CStr'
