#include "convert.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vbs {

namespace {

const QDate OleEpoch(1899, 12, 30);

bool overflow(Context &cx) { return cx.raise(err::Overflow); }
bool mismatch(Context &cx) { return cx.raise(err::TypeMismatch); }
bool invalidNull(Context &cx) { return cx.raise(err::InvalidNull); }

} // namespace

QChar decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

namespace {
constexpr qsizetype TextSlice = qsizetype(1) << 22; // characters between two looks at the clock
}

bool appendText(Context &cx, QString &target, QStringView text)
{
    const qint64 total = qint64(target.size()) + text.size();
    if (total > cx.limits.maxStringLength)
        return cx.raise(err::OutOfMemory);
    if (total > target.capacity() && !cx.reserveMemory(2 * total))
        return false;
    if (text.size() <= TextSlice) {
        target.append(text);
        return text.size() < 4096 || cx.spend(text.size());
    }
    target.reserve(total);
    for (qsizetype from = 0; from < text.size(); from += TextSlice) {
        target.append(text.mid(from, std::min(TextSlice, text.size() - from)));
        if (!cx.spend(TextSlice))
            return false;
    }
    return true;
}

bool joinText(Context &cx, QStringView a, QStringView b, QString &out)
{
    if (qint64(a.size()) + b.size() > cx.limits.maxStringLength)
        return cx.raise(err::OutOfMemory);
    out.clear();
    out.reserve(a.size() + b.size());
    return appendText(cx, out, a) && appendText(cx, out, b);
}

bool filledText(Context &cx, qint64 length, QChar c, QString &out)
{
    if (length > cx.limits.maxStringLength)
        return cx.raise(err::OutOfMemory);
    if (!cx.reserveMemory(2 * length))
        return false;
    out = QString(qsizetype(length), Qt::Uninitialized);
    QChar *data = out.data();
    for (qsizetype from = 0; from < length; from += TextSlice) {
        const qsizetype n = std::min(TextSlice, qsizetype(length) - from);
        std::fill(data + from, data + from + n, c);
        if (n >= 4096 && !cx.spend(n))
            return false;
    }
    return true;
}

double roundHalfEven(double d)
{
    const double r = std::nearbyint(d); // default rounding mode: to nearest, ties to even
    return r;
}

bool valueOf(Context &cx, const Value &in, Value &out)
{
    if (!in.isObject()) {
        out = in;
        return true;
    }
    // A default member may give an object again; follow a few, never for ever.
    Value current = in;
    for (int hops = 0; hops < 8; ++hops) {
        Object *o = current.asObject();
        if (!o)
            return cx.raise(err::ObjectNotSet);
        Value result;
        if (!o->invoke(cx, DefaultMember, InvokeGet, Args(), result)) {
            if (!cx.hasError())
                cx.raise(err::NoSuchMember);
            return false;
        }
        if (!result.isObject()) {
            out = std::move(result);
            return true;
        }
        current = std::move(result);
    }
    return cx.raise(err::TypeMismatch);
}

bool toNumeric(Context &cx, const Value &v, Value &out)
{
    switch (v.type()) {
    case VType::Empty:
        out = Value::integer(0);
        return true;
    case VType::Boolean:
        out = Value::integer(v.asBool() ? -1 : 0);
        return true;
    case VType::Null:
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
    case VType::Single:
    case VType::Double:
    case VType::Currency:
    case VType::Date:
        out = v;
        return true;
    case VType::String: {
        const std::optional<double> d = parseNumber(v.asString());
        if (!d)
            return mismatch(cx);
        out = Value::dbl(*d);
        return true;
    }
    case VType::Object: {
        Value inner;
        if (!valueOf(cx, v, inner))
            return false;
        return toNumeric(cx, inner, out);
    }
    default:
        return mismatch(cx);
    }
}

bool toDouble(Context &cx, const Value &v, double &out)
{
    switch (v.type()) {
    case VType::Empty: out = 0; return true;
    case VType::Boolean: out = v.asBool() ? -1 : 0; return true;
    case VType::Byte: out = v.asByte(); return true;
    case VType::Integer: out = v.asInteger(); return true;
    case VType::Long: out = v.asLong(); return true;
    case VType::Single: out = v.asSingle(); return true;
    case VType::Double:
    case VType::Date: out = v.asDouble(); return true;
    case VType::Currency: out = double(v.asCurrency()) / 10000.0; return true;
    case VType::Null: return invalidNull(cx);
    case VType::String: {
        const std::optional<double> d = parseNumber(v.asString());
        if (d) {
            out = *d;
            return true;
        }
        const std::optional<double> date = parseDate(v.asString());
        if (date) {
            out = *date;
            return true;
        }
        return mismatch(cx);
    }
    case VType::Object: {
        Value inner;
        return valueOf(cx, v, inner) && toDouble(cx, inner, out);
    }
    default:
        return mismatch(cx);
    }
}

bool toLong(Context &cx, const Value &v, int32_t &out)
{
    switch (v.type()) {
    case VType::Long: out = v.asLong(); return true;
    case VType::Integer: out = v.asInteger(); return true;
    case VType::Byte: out = v.asByte(); return true;
    case VType::Boolean: out = v.asBool() ? -1 : 0; return true;
    case VType::Empty: out = 0; return true;
    default: break;
    }
    double d;
    if (!toDouble(cx, v, d))
        return false;
    d = roundHalfEven(d);
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        return overflow(cx);
    out = int32_t(d);
    return true;
}

bool toInteger(Context &cx, const Value &v, int16_t &out)
{
    int32_t l;
    if (v.type() == VType::Long) {
        l = v.asLong();
    } else {
        double d;
        if (!toDouble(cx, v, d))
            return false;
        d = roundHalfEven(d);
        if (!(d >= -32768.0 && d <= 32767.0))
            return overflow(cx);
        l = int32_t(d);
    }
    if (l < -32768 || l > 32767)
        return overflow(cx);
    out = int16_t(l);
    return true;
}

bool toByte(Context &cx, const Value &v, uint8_t &out)
{
    if (v.type() == VType::Boolean) { // True's bits, all set: CByte(True) is 255
        out = v.asBool() ? 255 : 0;
        return true;
    }
    double d;
    if (!toDouble(cx, v, d))
        return false;
    d = roundHalfEven(d);
    if (!(d >= 0 && d <= 255))
        return overflow(cx);
    out = uint8_t(d);
    return true;
}

namespace {

// Decimal text ("-123456789012345.6789") straight to ten-thousandths, without the
// rounding a Double would bring; nothing for text in other forms.
std::optional<__int128> exactDecimal(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([+-]?)(\\d*)(?:[.](\\d*))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0) || m.capturedLength(2) > 20)
        return std::nullopt;
    __int128 whole = 0;
    for (const QChar c : m.capturedView(2))
        whole = whole * 10 + c.digitValue();
    const QString fraction = m.captured(3);
    __int128 scaled = whole * 10000;
    for (int i = 0; i < 4 && i < fraction.size(); ++i)
        scaled += fraction[i].digitValue() * (i == 0 ? 1000 : i == 1 ? 100 : i == 2 ? 10 : 1);
    if (fraction.size() > 4) { // the rest rounds half to even
        const int next = fraction[4].digitValue();
        const bool more = QStringView(fraction).mid(5).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (next > 5 || (next == 5 && (more || scaled % 2 != 0)))
            ++scaled;
    }
    return m.captured(1) == QLatin1String("-") ? -scaled : scaled;
}

} // namespace

// Currency is a 64-bit count of ten-thousandths. Whole numbers and decimal text convert
// exactly; a Double converts by its whole part and its fraction apart, so that large
// whole amounts stay exact.
bool toCurrency(Context &cx, const Value &v, int64_t &out)
{
    constexpr __int128 Max = std::numeric_limits<int64_t>::max(), Min = std::numeric_limits<int64_t>::min();
    __int128 scaled;
    switch (v.type()) {
    case VType::Currency: out = v.asCurrency(); return true;
    case VType::Empty: out = 0; return true;
    case VType::Boolean: out = v.asBool() ? -10000 : 0; return true;
    case VType::Byte: out = int64_t(v.asByte()) * 10000; return true;
    case VType::Integer: out = int64_t(v.asInteger()) * 10000; return true;
    case VType::Long: out = int64_t(v.asLong()) * 10000; return true;
    case VType::String:
        if (const std::optional<__int128> exact = exactDecimal(v.asString())) {
            scaled = *exact;
            break;
        }
        [[fallthrough]];
    default: {
        double d;
        if (!toDouble(cx, v, d))
            return false;
        const double whole = std::trunc(d);
        if (!(std::fabs(whole) < 9.3e14))
            return overflow(cx);
        scaled = __int128(int64_t(whole)) * 10000 + int64_t(roundHalfEven((d - whole) * 10000.0));
        break;
    }
    }
    if (scaled > Max || scaled < Min)
        return overflow(cx);
    out = int64_t(scaled);
    return true;
}

std::optional<bool> booleanText(const QString &text)
{
    const QString s = text.trimmed();
    for (const char *t : {"True", "#TRUE#"})
        if (s.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return true;
    for (const char *f : {"False", "#FALSE#"})
        if (s.compare(QLatin1String(f), Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}

bool toBool(Context &cx, const Value &v, bool &out)
{
    switch (v.type()) {
    case VType::Boolean: out = v.asBool(); return true;
    case VType::Null: return invalidNull(cx);
    case VType::String: {
        const QString s = v.asString().trimmed();
        if (const std::optional<bool> b = booleanText(s)) {
            out = *b;
            return true;
        }
        const std::optional<double> d = parseNumber(s);
        if (!d)
            return mismatch(cx);
        out = *d != 0;
        return true;
    }
    case VType::Object: {
        Value inner;
        return valueOf(cx, v, inner) && toBool(cx, inner, out);
    }
    case VType::Array:
    case VType::Error:
        return mismatch(cx);
    default: {
        double d;
        if (!toDouble(cx, v, d))
            return false;
        out = d != 0;
        return true;
    }
    }
}

QString byteString(const QByteArray &bytes)
{
    QString s((bytes.size() + 1) / 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(s.data());
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const uchar low = uchar(bytes[i]);
        const uchar high = i + 1 < bytes.size() ? uchar(bytes[i + 1]) : 0;
        out[i / 2] = char16_t(high << 8 | low);
    }
    return s;
}

bool toText(Context &cx, const Value &v, QString &out)
{
    switch (v.type()) {
    case VType::String: out = v.asString(); return true;
    case VType::Null: return invalidNull(cx);
    case VType::Array: // a byte array reads as the string of its bytes, two to a character
        if (!v.asArray()->isBytes())
            return mismatch(cx);
        out = byteString(v.asArray()->bytes());
        return true;
    case VType::Object: {
        Value inner;
        return valueOf(cx, v, inner) && toText(cx, inner, out);
    }
    case VType::Error:
        if (v.isMissing())
            return mismatch(cx);
        out = QStringLiteral("Error %1").arg(v.asError());
        return true;
    default:
        out = displayText(v);
        return true;
    }
}

bool isDateInRange(double date)
{
    constexpr double HalfSecond = 0.5 / 86400.0;
    return date > -657435.0 + HalfSecond && date < 2958466.0 - HalfSecond;
}

bool toDate(Context &cx, const Value &v, double &out)
{
    if (v.type() == VType::String) {
        const std::optional<double> d = parseDate(v.asString());
        if (d) {
            out = *d;
        } else {
            const std::optional<double> n = parseNumber(v.asString());
            if (!n)
                return mismatch(cx);
            out = *n;
        }
    } else if (!toDouble(cx, v, out)) {
        return false;
    }
    return isDateInRange(out) || overflow(cx);
}

QString displayText(const Value &v)
{
    switch (v.type()) {
    case VType::Empty:
    case VType::Null: return QString();
    case VType::Boolean: return v.asBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VType::Byte: return QString::number(v.asByte());
    case VType::Integer: return QString::number(v.asInteger());
    case VType::Long: return QString::number(v.asLong());
    case VType::Single: return formatDouble(v.asSingle(), 7);
    case VType::Double: return formatDouble(v.asDouble());
    case VType::Currency: return formatCurrency(v.asCurrency());
    case VType::Date: return formatDate(v.asDate());
    case VType::String: return v.asString();
    case VType::Error: return QStringLiteral("Error %1").arg(v.asError());
    default: return QString();
    }
}

QString formatDouble(double d, int significantDigits)
{
    if (d == 0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, d);
    QString text = QString::fromLatin1(buffer);
    const QChar point = decimalSeparator();
    if (point != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString formatCurrency(int64_t scaled)
{
    const bool negative = scaled < 0;
    const uint64_t magnitude = negative ? uint64_t(-(scaled + 1)) + 1 : uint64_t(scaled);
    QString text = QString::number(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += decimalSeparator() + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

double dateFromParts(qint64 year, qint64 month, qint64 day, double secondsOfDay)
{
    // Month and day may run over, as DateSerial allows: 13/1 is January of the next year.
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    if (month < 1) {
        month += 12;
        --year;
    }
    if (year < -100000 || year > 100000) // far outside the dates VBScript can hold
        return std::numeric_limits<double>::infinity();
    const QDate first(int(year), int(month), 1);
    const double days = double(OleEpoch.daysTo(first)) + (day - 1);
    const double fraction = secondsOfDay / 86400.0;
    // Before the epoch the time of day still counts forward from midnight.
    return days >= 0 ? days + fraction : days - fraction;
}

void dateToParts(double date, int &year, int &month, int &day, int &hour, int &minute, int &second)
{
    double whole = std::trunc(date);
    double fraction = std::fabs(date - whole);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += date >= 0 ? 1 : -1;
    }
    const QDate d = OleEpoch.addDays(qint64(whole));
    year = d.year();
    month = d.month();
    day = d.day();
    hour = int(seconds / 3600);
    minute = int(seconds / 60 % 60);
    second = int(seconds % 60);
}

QString formatDate(double date)
{
    int y, mo, d, h, mi, s;
    dateToParts(date, y, mo, d, h, mi, s);
    // A date part of zero is no date: what is left is a time, midnight too.
    const bool hasDate = std::trunc(date) != 0;
    const bool hasTime = (h | mi | s) != 0 || !hasDate;
    QString text;
    if (hasDate)
        text = QStringLiteral("%1/%2/%3").arg(mo).arg(d).arg(y);
    if (hasTime) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        text += QStringLiteral("%1:%2:%3 %4")
                    .arg(h12)
                    .arg(mi, 2, 10, QLatin1Char('0'))
                    .arg(s, 2, 10, QLatin1Char('0'))
                    .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    return text;
}

std::optional<double> parseNumber(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (s.startsWith(QLatin1Char('&'))) {
        int base = 8, start = 1;
        if (s.size() > 1 && (s[1] == QLatin1Char('H') || s[1] == QLatin1Char('h')))
            base = 16, start = 2;
        else if (s.size() > 1 && (s[1] == QLatin1Char('O') || s[1] == QLatin1Char('o')))
            start = 2;
        bool ok = false;
        const qlonglong n = s.mid(start).toLongLong(&ok, base);
        if (!ok || n > 0xFFFFFFFFLL)
            return std::nullopt;
        // &HFFFF is -1 as Integer text, &HFFFFFFFF -1 as Long.
        if (n <= 0xFFFF && s.size() - start <= 4)
            return double(int16_t(uint16_t(n)));
        return double(int32_t(uint32_t(n)));
    }
    const QChar point = decimalSeparator();
    const QString group = QLocale().groupSeparator();
    QByteArray ascii;
    ascii.reserve(s.size());
    bool digits = false, seenPoint = false, seenExp = false;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
            ascii += char(c.unicode());
        } else if ((c == QLatin1Char('+') || c == QLatin1Char('-'))
                   && (i == 0 || ascii.endsWith('E'))) {
            ascii += char(c.unicode());
        } else if (c == point && !seenPoint && !seenExp) {
            seenPoint = true;
            ascii += '.';
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char('d')
                    || c == QLatin1Char('D')) && digits && !seenExp) {
            seenExp = true;
            ascii += 'E';
        } else if (!group.isEmpty() && c == group.at(0) && digits && !seenPoint && !seenExp) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || ascii.endsWith('E') || ascii.endsWith('+') || ascii.endsWith('-'))
        return std::nullopt;
    char *end = nullptr;
    const double d = std::strtod(ascii.constData(), &end);
    if (end != ascii.constData() + ascii.size() || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<double> parseDate(const QString &text)
{
    static const QRegularExpression timePart(
        QStringLiteral("(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm])?"));
    static const QRegularExpression slashDate(QStringLiteral("^(\\d{1,4})[/.-](\\d{1,2})[/.-](\\d{1,4})$"));
    static const QRegularExpression monthName(QStringLiteral("^(\\d{1,2})?\\s*([A-Za-z]+)\\s*(\\d{1,2})?,?\\s*(\\d{2,4})?$"));

    QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    double seconds = 0;
    bool hasTime = false;
    const QRegularExpressionMatch t = timePart.match(s);
    if (t.hasMatch()) {
        int h = t.captured(1).toInt(), m = t.captured(2).toInt(), sec = t.captured(3).toInt();
        const QString ampm = t.captured(4).toUpper();
        if (h > 23 || m > 59 || sec > 59 || (!ampm.isEmpty() && (h > 12 || h == 0)))
            return std::nullopt;
        if (ampm == QLatin1String("PM") && h < 12)
            h += 12;
        if (ampm == QLatin1String("AM") && h == 12)
            h = 0;
        seconds = h * 3600 + m * 60 + sec;
        hasTime = true;
        s.remove(t.capturedStart(), t.capturedLength());
        s = s.trimmed();
    }
    if (s.isEmpty())
        return hasTime ? std::optional<double>(seconds / 86400.0) : std::nullopt;

    int year = 0, month = 0, day = 0;
    const QRegularExpressionMatch m = slashDate.match(s);
    if (m.hasMatch()) {
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt(), c = m.captured(3).toInt();
        if (m.captured(1).size() >= 3) { // year first: 2026-12-25
            year = a, month = b, day = c;
        } else { // month first, as the US locale writes dates; an impossible month is the day
            month = a, day = b, year = c;
            if (month > 12 && day <= 12)
                std::swap(month, day);
        }
    } else {
        const QRegularExpressionMatch n = monthName.match(s);
        if (!n.hasMatch())
            return std::nullopt;
        static const char *names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec"};
        const QString name = n.captured(2).left(3).toLower();
        for (int i = 0; i < 12; ++i)
            if (name == QLatin1String(names[i]))
                month = i + 1;
        if (!month)
            return std::nullopt;
        day = !n.captured(1).isEmpty() ? n.captured(1).toInt() : n.captured(3).toInt();
        year = n.captured(4).isEmpty() ? QDate::currentDate().year() : n.captured(4).toInt();
        if (day == 0)
            day = 1;
    }
    if (year < 100)
        year += year < 30 ? 2000 : 1900;
    if (!QDate::isValid(year, month, day))
        return std::nullopt;
    return dateFromParts(year, month, day, hasTime ? seconds : 0);
}

} // namespace vbs
