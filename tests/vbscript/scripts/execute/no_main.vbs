' args: --execute
Sub NotMain()
End Sub
' expect: 35 - Sub or Function not defined: 'Main'
' expect status: Sub or Function not defined: 'Main'
' expect exit: 1
