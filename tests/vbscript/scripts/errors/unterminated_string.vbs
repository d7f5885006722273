x = "abc ' expect error 1033: Unterminated string constant
