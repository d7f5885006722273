#pragma once

#include <QString>
#include <optional>

#include "context.h"
#include "value.h"

namespace vbs {

// Conversions between Variant types as VBScript makes them. Each returns false after
// raising through the context (13 Type mismatch, 6 Overflow, 94 Invalid use of Null).

// An object's default value; other values pass through.
bool valueOf(Context &cx, const Value &in, Value &out);

bool toDouble(Context &cx, const Value &v, double &out);
bool toLong(Context &cx, const Value &v, int32_t &out);       // banker's rounding, 6 beyond Long
bool toInteger(Context &cx, const Value &v, int16_t &out);
bool toByte(Context &cx, const Value &v, uint8_t &out);
bool toBool(Context &cx, const Value &v, bool &out);
// The texts that name a Boolean: "True", "False", "#TRUE#", "#FALSE#", in any case.
std::optional<bool> booleanText(const QString &text);
bool toText(Context &cx, const Value &v, QString &out);       // Null raises 94
// Bytes as VBScript's byte strings hold them: two to a character, low byte first (an odd
// last byte alone in the last character).
QString byteString(const QByteArray &bytes);
bool toCurrency(Context &cx, const Value &v, int64_t &out);
bool toDate(Context &cx, const Value &v, double &out);
// Whether a date value lies in 1 January 100 .. 31 December 9999 once rounded to the
// second, the dates VBScript can hold.
bool isDateInRange(double date);
// A numeric Variant for arithmetic: Empty is Integer 0, Boolean Integer, a numeric string
// Double, Date stays Date, Null stays Null.
bool toNumeric(Context &cx, const Value &v, Value &out);

// Text of a value as VBScript writes it; Null and Empty give "" (for & and Echo).
QString displayText(const Value &v);
// Numbers as text: up to 15 significant digits (7 for Single), no trailing zeros, the
// locale's decimal separator, E notation for very large and very small values.
QString formatDouble(double d, int significantDigits = 15);
QString formatCurrency(int64_t scaled);
QString formatDate(double date);

// Reads a number the way VBScript reads numeric text ("  -1.5e3 ", "&HFF", "1,000").
std::optional<double> parseNumber(const QString &text);
// Reads a date or time literal or text: "12/25/2026", "2026-12-25 10:30", "10:30 PM".
std::optional<double> parseDate(const QString &text);

// Rounds half to even, as VBScript's CInt, CLng and Round do.
double roundHalfEven(double d);

// OLE dates: days since 30 December 1899, the fraction the time of day.
// Out-of-range parts give a value outside the dates (infinity), never a wrong date.
double dateFromParts(qint64 year, qint64 month, qint64 day, double secondsOfDay = 0);
void dateToParts(double date, int &year, int &month, int &day, int &hour, int &minute, int &second);

QChar decimalSeparator();

// Building strings as scripts do: within the length limit (else 7 Out of memory), and a
// long one in slices with the clock read between them, so that building it does not run
// past the time limit.
bool appendText(Context &cx, QString &target, QStringView text);      // target & text
bool joinText(Context &cx, QStringView a, QStringView b, QString &out); // a & b
bool filledText(Context &cx, qint64 length, QChar c, QString &out);  // String(length, c)

} // namespace vbs
