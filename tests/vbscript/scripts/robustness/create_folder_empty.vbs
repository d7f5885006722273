' An empty folder name is an invalid argument, with no word from the toolkit on stderr.
Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateFolder "" ' expect error 5: Invalid procedure call or argument: 'fso.CreateFolder'
