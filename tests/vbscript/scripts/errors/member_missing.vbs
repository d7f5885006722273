WScript.NoSuchThing 1 ' expect error 438: Object doesn't support this property or method: 'WScript.NoSuchThing'
