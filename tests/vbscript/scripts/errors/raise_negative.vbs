Err.Raise -2147221503, "test", "A negative number" ' expect error -2147221503: A negative number
