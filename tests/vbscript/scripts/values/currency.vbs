' Currency is a 64-bit count of ten-thousandths, exact for every value it can hold.
WScript.Echo CCur(123456789012345), CCur(12345678901234) + CCur(0.0001) ' expect: 123456789012345 12345678901234.0001
WScript.Echo CCur("922337203685477.5807"), CCur("-922337203685477.5808") ' expect: 922337203685477.5807 -922337203685477.5808
WScript.Echo CCur(1.23456), CCur("0.00005"), CCur("0.00015"), CCur("0.00025"), TypeName(CCur(2) * CCur(3)) ' expect: 1.2346 0 0.0002 0.0002 Currency
WScript.Echo CCur(0.1) + CCur(0.2) = CCur(0.3), TypeName(CCur(1) / CCur(3)) ' expect: -1 Double
On Error Resume Next
x = CCur("922337203685477.5807") + CCur(1)
WScript.Echo "past the top:", Err.Number ' expect: past the top: 6
