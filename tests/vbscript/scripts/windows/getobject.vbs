' GetObject is a built-in. No running objects are there to attach to: a class alone, or a
' scheme that nobody answers, is 429; a file whose type nothing handles is 432.
On Error Resume Next
Set x = GetObject(, "Excel.Application") : WScript.Echo Err.Number : Err.Clear ' expect: 429
Set x = GetObject("nosuch:thing") : WScript.Echo Err.Number : Err.Clear ' expect: 429
Set x = GetObject("C:\data\book.xls") : WScript.Echo Err.Number : Err.Clear ' expect: 432
Set x = GetObject("report.docx", "Word.Document") : WScript.Echo Err.Number : Err.Clear ' expect: 429
Set x = WScript.GetObject("nosuch:thing") : WScript.Echo Err.Number : Err.Clear ' expect: 429
