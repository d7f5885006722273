' args: --timeout 1
' Each turn of the loop builds a 100-million-character string; the limit still holds.
Do
  s = String(100000000, "a")
Loop ' expect error 5300: The script ran past its time limit and was stopped
