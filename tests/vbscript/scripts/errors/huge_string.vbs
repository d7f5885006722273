s = Space(2000000000) ' expect error 7: Out of memory: 'Space'
