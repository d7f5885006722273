' Number and date formats, Filter, Escape, RGB, the engine's name.
WScript.Echo FormatNumber(1234567.891), FormatNumber(1234.5, 0), FormatNumber(-0.5, 1, False) ' expect: 1,234,567.89 1,235 -.5
WScript.Echo FormatNumber(-1234.5, 2, True, True), FormatNumber(1234.5, 1, True, False, False) ' expect: (1,234.50) 1234.5
WScript.Echo FormatCurrency(1234.5), FormatCurrency(-5) ' expect: $1,234.50 ($5.00)
WScript.Echo FormatPercent(0.256), FormatPercent(1, 0) ' expect: 25.60% 100%
d = #12/7/2026 10:05:09 PM#
WScript.Echo FormatDateTime(d, 1) ' expect: Monday, December 7, 2026
WScript.Echo FormatDateTime(d, 2), FormatDateTime(d, 3), FormatDateTime(d, 4) ' expect: 12/7/2026 10:05:09 PM 22:05
WScript.Echo Join(Filter(Array("apple", "Banana", "cherry"), "an"), ","), Join(Filter(Array("apple", "Banana"), "A", True, 1), ",") ' expect: Banana apple,Banana
WScript.Echo Join(Filter(Array("apple", "Banana", "cherry"), "an", False), ",") ' expect: apple,cherry
WScript.Echo Escape("a b&c/é€"), Unescape("a%20b%26c%u20AC") ' expect: a%20b%26c/%E9%u20AC a b&c€
WScript.Echo RGB(255, 0, 0), RGB(0, 255, 0), RGB(300, 0, 1) ' expect: 255 65280 65791
WScript.Echo ScriptEngine, ScriptEngineMajorVersion & "." & ScriptEngineMinorVersion ' expect: VBScript 5.8
