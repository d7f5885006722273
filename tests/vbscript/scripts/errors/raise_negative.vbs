Err.Raise -2147024894, "test", "A negative number" ' expect error -2147024894: A negative number
