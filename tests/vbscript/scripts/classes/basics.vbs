' Classes: fields, methods, properties, default member, Me, Initialize and Terminate.
Class Account
  Private m_balance
  Public Owner
  Private Sub Class_Initialize
    m_balance = 0
  End Sub
  Private Sub Class_Terminate
    WScript.Echo "closing " & Owner
  End Sub
  Public Sub Deposit(amount)
    m_balance = m_balance + amount
  End Sub
  Public Property Get Balance
    Balance = m_balance
  End Property
  Public Property Let Balance(v)
    If v < 0 Then Err.Raise 5
    m_balance = v
  End Property
  Public Default Function Summary()
    Summary = Owner & ": " & m_balance
  End Function
  Public Function Self()
    Set Self = Me
  End Function
End Class
Set a = New Account
a.Owner = "ann"
a.Deposit 10
a.Deposit 5
WScript.Echo a.Balance, a.Summary, TypeName(a) ' expect: 15 ann: 15 Account
a.Balance = 100
WScript.Echo a ' expect: ann: 100
WScript.Echo a.Self() Is a, a Is Nothing ' expect: -1 0
Set b = a
Set a = Nothing
WScript.Echo "still held" ' expect: still held
Set b = Nothing ' expect: closing ann
On Error Resume Next
Set c = New Account : c.Owner = "cat"
c.Balance = -1
WScript.Echo Err.Number ' expect: 5
c.m_balance = 3
WScript.Echo Err.Number ' expect: 438
' expect: closing cat
