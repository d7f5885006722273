x = ) ' expect error 1023: Expected expression
