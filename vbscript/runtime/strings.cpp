// String functions: Len, Left, Mid, InStr, Replace, Split, Join, Chr, Asc, ...
#include <QStringList>

#include "builtins.h"
#include "convert.h"
#include "text.h"

namespace vbs {

int findText(const QString &text, const QString &sought, int start, bool textCompare, bool backward)
{
    // The documented order of the cases: an empty text finds nothing, an empty sought text
    // is found at the start, a start past the end finds nothing.
    const Qt::CaseSensitivity cs = textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (text.isEmpty())
        return 0;
    if (!backward) {
        if (start > text.size()) // past the end nothing is found, not even ""
            return 0;
        if (sought.isEmpty())
            return start;
        return int(text.indexOf(sought, start - 1, cs)) + 1;
    }
    const int end = start < 0 ? int(text.size()) : start;
    if (sought.isEmpty())
        return end;
    if (end > text.size())
        return 0;
    if (sought.size() > end)
        return 0;
    return int(text.lastIndexOf(sought, end - sought.size(), cs)) + 1;
}

namespace runtime {

namespace {


// Null in, Null out: most string functions propagate it.
bool nullIn(const Value &v, Value &r)
{
    if (!v.isNull())
        return false;
    r = Value::null();
    return true;
}

bool len(Context &cx, Args a, Value &r)
{
    if (nullIn(a[0], r))
        return true;
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::lng(int32_t(s.size()));
    return true;
}

// Null in a number argument is error 94, and it is found before the range errors of the
// arguments in front of it: Mid("abc", 0, Null) is 94, not 5.
bool noNullFrom(Context &cx, Args a, int from)
{
    for (int i = from; i < a.count; ++i)
        if (a[i].isNull())
            return cx.raise(err::InvalidNull);
    return true;
}

bool count(Context &cx, const Value &v, int32_t &n)
{
    if (!toLong(cx, v, n))
        return false;
    return n >= 0 || cx.raise(err::InvalidCall);
}

// Left and Right: one body, the end to take from as a flag.
template <bool FromRight>
bool ends(Context &cx, Args a, Value &r)
{
    int32_t n;
    if (!noNullFrom(cx, a, 1) || !count(cx, a[1], n))
        return false;
    if (nullIn(a[0], r))
        return true;
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::string(FromRight ? s.right(n) : s.left(n));
    return true;
}

bool mid(Context &cx, Args a, Value &r)
{
    int32_t start, n = -1;
    if (!noNullFrom(cx, a, 1) || !toLong(cx, a[1], start))
        return false;
    if (start < 1)
        return cx.raise(err::InvalidCall);
    if (a.has(2) && !count(cx, a[2], n))
        return false;
    if (nullIn(a[0], r))
        return true;
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::string(s.mid(start - 1, n));
    return true;
}

bool compareMode(Context &cx, Args a, int index, bool &text)
{
    text = false;
    if (!a.has(index))
        return true;
    int32_t mode;
    if (!toLong(cx, a[index], mode))
        return false;
    if (mode < 0 || mode > 1) // binary or text
        return cx.raise(err::InvalidCall);
    text = mode == 1;
    return true;
}

// InStr([start, ]text, sought[, compare])
bool instr(Context &cx, Args a, Value &r)
{
    int first = 0;
    int32_t start = 1;
    if (a.count >= 3) {
        if (a[0].isNull() || (a.count > 3 && a[3].isNull()))
            return cx.raise(err::InvalidNull);
        if (!toLong(cx, a[0], start))
            return false;
        if (start < 1)
            return cx.raise(err::InvalidCall);
        first = 1;
    }
    bool text;
    if (!compareMode(cx, a, first + 2, text))
        return false;
    if (a[first].isNull() || a[first + 1].isNull()) {
        r = Value::null();
        return true;
    }
    QString hay, needle;
    if (!toText(cx, a[first], hay) || !toText(cx, a[first + 1], needle))
        return false;
    r = Value::lng(findText(hay, needle, start, text, false));
    return true;
}

// InStrRev(text, sought[, start[, compare]])
bool instrrev(Context &cx, Args a, Value &r)
{
    int32_t start = -1;
    if (!noNullFrom(cx, a, 2) || (a.has(2) && !toLong(cx, a[2], start)))
        return false;
    if (start == 0 || start < -1)
        return cx.raise(err::InvalidCall);
    bool text;
    if (!compareMode(cx, a, 3, text))
        return false;
    if (a[0].isNull() || a[1].isNull()) // unlike InStr, InStrRev takes no Null at all
        return cx.raise(err::InvalidNull);
    QString hay, needle;
    if (!toText(cx, a[0], hay) || !toText(cx, a[1], needle))
        return false;
    r = Value::lng(findText(hay, needle, start, text, true));
    return true;
}

// UCase and LCase map each UTF-16 unit alone, as Windows does: the length never changes
// ("Straße" is "STRAßE", not "STRASSE"; a character with no single-unit twin stays).
template <bool Upper>
bool caseFunction(Context &cx, Args a, Value &r)
{
    if (nullIn(a[0], r))
        return true;
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    QChar *c = s.data();
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!c[i].isSurrogate())
            c[i] = Upper ? c[i].toUpper() : c[i].toLower();
    r = Value::string(std::move(s));
    return true;
}

// Trim, LTrim and RTrim remove spaces only.
bool trimSpaces(Context &cx, Args a, Value &r, bool leading, bool trailing)
{
    if (nullIn(a[0], r))
        return true;
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    int from = 0, to = int(s.size());
    while (leading && from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (trailing && to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    r = Value::string(s.mid(from, to - from));
    return true;
}
bool trim(Context &cx, Args a, Value &r) { return trimSpaces(cx, a, r, true, true); }
bool ltrim(Context &cx, Args a, Value &r) { return trimSpaces(cx, a, r, true, false); }
bool rtrim(Context &cx, Args a, Value &r) { return trimSpaces(cx, a, r, false, true); }

// Replace(text, find, with[, start[, count[, compare]]]): the result begins at start.
bool replace(Context &cx, Args a, Value &r)
{
    if (!noNullFrom(cx, a, 0))
        return false;
    QString text, find, with;
    if (!toText(cx, a[0], text) || !toText(cx, a[1], find) || !toText(cx, a[2], with))
        return false;
    int32_t start = 1, limit = -1;
    if (a.has(3) && !toLong(cx, a[3], start))
        return false;
    if (a.has(4) && !toLong(cx, a[4], limit))
        return false;
    if (start < 1 || limit < -1)
        return cx.raise(err::InvalidCall);
    bool textCompare;
    if (!compareMode(cx, a, 5, textCompare))
        return false;
    QString source = text.mid(start - 1);
    if (find.isEmpty() || limit == 0) {
        r = Value::string(source);
        return true;
    }
    const Qt::CaseSensitivity cs = textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString out;
    qsizetype pos = 0;
    int done = 0;
    for (;;) {
        const qsizetype hit = source.indexOf(find, pos, cs);
        if (hit < 0 || (limit >= 0 && done >= limit))
            break;
        out += QStringView(source).mid(pos, hit - pos);
        out += with;
        if (!cx.spend(hit - pos + find.size() + with.size()))
            return false;
        pos = hit + find.size();
        ++done;
        if (out.size() > cx.limits.maxStringLength)
            return cx.raise(err::OutOfMemory);
    }
    out += QStringView(source).mid(pos);
    r = Value::string(out);
    return true;
}

Value stringArray(const QStringList &items)
{
    return Value::array(ArrayData::fromStrings(items));
}

// Split(text[, delimiter[, count[, compare]]])
bool split(Context &cx, Args a, Value &r)
{
    if (!noNullFrom(cx, a, 0))
        return false;
    QString text, delimiter = QStringLiteral(" ");
    if (!toText(cx, a[0], text))
        return false;
    if (a.has(1) && !toText(cx, a[1], delimiter))
        return false;
    int32_t limit = -1;
    if (a.has(2) && !toLong(cx, a[2], limit))
        return false;
    if (limit < -1)
        return cx.raise(err::InvalidCall);
    bool textCompare;
    if (!compareMode(cx, a, 3, textCompare))
        return false;
    QStringList items;
    if (!text.isEmpty() && limit != 0) {
        if (delimiter.isEmpty()) {
            items << text;
        } else {
            const Qt::CaseSensitivity cs = textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive;
            qsizetype pos = 0;
            for (;;) {
                if (limit > 0 && items.size() == limit - 1)
                    break;
                const qsizetype hit = text.indexOf(delimiter, pos, cs);
                if (hit < 0)
                    break;
                if (items.size() >= cx.limits.maxArrayElements)
                    return cx.raise(err::OutOfMemory);
                items << text.mid(pos, hit - pos);
                if (!cx.spend(hit - pos + delimiter.size()) || ((items.size() & 0xFFFF) == 0 && !cx.reserveMemory(items.size() * 64)))
                    return false;
                pos = hit + delimiter.size();
            }
            items << text.mid(pos);
        }
    }
    r = stringArray(items);
    return true;
}

// Join(array[, delimiter])
bool join(Context &cx, Args a, Value &r)
{
    if (!a[0].isArray())
        return cx.raise(err::TypeMismatch);
    QString delimiter = QStringLiteral(" ");
    if (a.has(1) && !toText(cx, a[1], delimiter))
        return false;
    const ArrayData *arr = a[0].asArray();
    if (arr->dims() > 1)
        return cx.raise(err::SubscriptOutOfRange);
    QString out;
    for (size_t i = 0; i < arr->data.size(); ++i) {
        if (i)
            out += delimiter;
        const Value &v = arr->data[i];
        if (v.isNull() || v.isEmpty())
            continue;
        QString s;
        if (!toText(cx, v, s))
            return false;
        out += s;
        if (out.size() > cx.limits.maxStringLength)
            return cx.raise(err::OutOfMemory);
        if (!cx.spend(s.size() + delimiter.size()))
            return false;
    }
    r = Value::string(out);
    return true;
}

// Chr and Asc speak Windows-1252, the code page of a US Windows: 128 is the euro sign.
// Its five unused codes stand for the control characters of the same number.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t fromCp1252(uint8_t code) { return code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : code; }

// The code page's byte for a character; '?' where it has none, as Windows gives.
uint8_t toCp1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return uint8_t(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] == c)
            return uint8_t(0x80 + i);
    return '?';
}

bool chr(Context &cx, Args a, Value &r)
{
    int32_t code;
    if (!toLong(cx, a[0], code))
        return false;
    if (code < 0 || code > 255)
        return cx.raise(err::InvalidCall);
    r = Value::string(QString(QChar(fromCp1252(uint8_t(code)))));
    return true;
}

bool chrw(Context &cx, Args a, Value &r)
{
    int32_t code;
    if (!toLong(cx, a[0], code))
        return false;
    if (code < -32768 || code > 65535)
        return cx.raise(err::InvalidCall);
    r = Value::string(QString(QChar(char16_t(uint16_t(code)))));
    return true;
}

bool firstChar(Context &cx, const Value &v, char16_t &c)
{
    if (v.isNull())
        return cx.raise(err::InvalidNull);
    QString s;
    if (!toText(cx, v, s))
        return false;
    if (s.isEmpty())
        return cx.raise(err::InvalidCall);
    c = s[0].unicode();
    return true;
}

bool asc(Context &cx, Args a, Value &r)
{
    char16_t c;
    if (!firstChar(cx, a[0], c))
        return false;
    r = Value::integer(int16_t(toCp1252(c)));
    return true;
}

bool ascw(Context &cx, Args a, Value &r)
{
    char16_t c;
    if (!firstChar(cx, a[0], c))
        return false;
    r = Value::integer(int16_t(c));
    return true;
}

bool space(Context &cx, Args a, Value &r)
{
    int32_t n;
    if (!count(cx, a[0], n))
        return false;
    QString text;
    if (!filledText(cx, n, QLatin1Char(' '), text))
        return false;
    r = Value::string(std::move(text));
    return true;
}

// String(count, character): the character as text (its first letter) or as a code.
bool string(Context &cx, Args a, Value &r)
{
    int32_t n;
    if (a[0].isNull() || a[1].isNull()) { // either Null: Null
        r = Value::null();
        return true;
    }
    if (!count(cx, a[0], n))
        return false;
    if (a[1].isNull()) {
        r = Value::null();
        return true;
    }
    QChar c;
    if (a[1].isString()) {
        if (a[1].asString().isEmpty())
            return cx.raise(err::InvalidCall);
        c = a[1].asString()[0];
    } else {
        int32_t code;
        if (!toLong(cx, a[1], code))
            return false;
        c = QChar(char16_t(code % 256 < 0 ? code % 256 + 256 : code % 256));
    }
    QString text;
    if (!filledText(cx, n, c, text))
        return false;
    r = Value::string(std::move(text));
    return true;
}

bool strreverse(Context &cx, Args a, Value &r)
{
    if (a[0].isNull())
        return cx.raise(err::InvalidNull);
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    std::reverse(s.begin(), s.end());
    r = Value::string(s);
    return true;
}

bool strcomp(Context &cx, Args a, Value &r)
{
    if (!noNullFrom(cx, a, 2))
        return false;
    if (a[0].isNull() || a[1].isNull()) {
        r = Value::null();
        return true;
    }
    QString x, y;
    bool text;
    if (!toText(cx, a[0], x) || !toText(cx, a[1], y) || !compareMode(cx, a, 2, text))
        return false;
    const int c = QString::compare(x, y, text ? Qt::CaseInsensitive : Qt::CaseSensitive);
    r = Value::integer(int16_t(c < 0 ? -1 : c > 0 ? 1 : 0));
    return true;
}

// Filter(strings, value[, include[, compare]]): the items that contain (or lack) the value.
bool filter(Context &cx, Args a, Value &r)
{
    if (!a[0].isArray() || a[0].asArray()->dims() != 1)
        return cx.raise(err::TypeMismatch);
    QString value;
    bool include = true, text = false;
    if (!toText(cx, a[1], value) || (a.has(2) && !toBool(cx, a[2], include)) || !compareMode(cx, a, 3, text))
        return false;
    QStringList kept;
    for (const Value &item : a[0].asArray()->data) {
        QString s;
        if (!toText(cx, item, s))
            return false;
        if (s.contains(value, text ? Qt::CaseInsensitive : Qt::CaseSensitive) == include)
            kept << s;
    }
    r = stringArray(kept);
    return true;
}

bool unreserved(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    switch (c) {
    case u'@': case u'*': case u'_': case u'+': case u'-': case u'.': case u'/': return true;
    default: return false;
    }
}

// Escape: %XX for other characters below 256, %uXXXX above. The result grows up to six
// times the input: it is held to the string limit, and its work reported as it goes.
bool escape(Context &cx, Args a, Value &r)
{
    if (nullIn(a[0], r))
        return true;
    QString s, out;
    if (!toText(cx, a[0], s))
        return false;
    static constexpr char Hex[] = "0123456789ABCDEF";
    out.reserve(s.size());
    constexpr qsizetype Stretch = 1 << 16;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (unreserved(c)) {
            out += QChar(c);
        } else if (c < 256) {
            const char16_t code[3] = {u'%', char16_t(Hex[c >> 4]), char16_t(Hex[c & 15])};
            out.append(reinterpret_cast<const QChar *>(code), 3);
        } else {
            const char16_t code[6] = {u'%', u'u', char16_t(Hex[c >> 12]), char16_t(Hex[(c >> 8) & 15]),
                                      char16_t(Hex[(c >> 4) & 15]), char16_t(Hex[c & 15])};
            out.append(reinterpret_cast<const QChar *>(code), 6);
        }
        if ((i + 1) % Stretch == 0) {
            if (out.size() > cx.limits.maxStringLength)
                return cx.raise(err::OutOfMemory);
            if (!cx.spend(Stretch))
                return false;
        }
    }
    if (out.size() > cx.limits.maxStringLength)
        return cx.raise(err::OutOfMemory);
    r = Value::string(std::move(out));
    return true;
}

bool unescape(Context &cx, Args a, Value &r)
{
    if (nullIn(a[0], r))
        return true;
    QString s, out;
    if (!toText(cx, a[0], s))
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        bool ok = false;
        if (s[i] == QLatin1Char('%') && i + 5 < s.size() && s[i + 1] == QLatin1Char('u')) {
            const ushort code = s.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 5;
                continue;
            }
        }
        if (s[i] == QLatin1Char('%') && i + 2 < s.size()) {
            const ushort code = s.mid(i + 1, 2).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    r = Value::string(out);
    return true;
}

} // namespace

const Builtin stringFunctions[] = {
    {"Filter", 2, 4, filter},
    {"Escape", 1, 1, escape},
    {"Unescape", 1, 1, unescape},
    {"Len", 1, 1, len},
    {"Left", 2, 2, ends<false>},
    {"Right", 2, 2, ends<true>},
    {"Mid", 2, 3, mid},
    {"InStr", 2, 4, instr},
    {"InStrRev", 2, 4, instrrev},
    {"UCase", 1, 1, caseFunction<true>},
    {"LCase", 1, 1, caseFunction<false>},
    {"Trim", 1, 1, trim},
    {"LTrim", 1, 1, ltrim},
    {"RTrim", 1, 1, rtrim},
    {"Replace", 3, 6, replace},
    {"Split", 1, 4, split},
    {"Join", 1, 2, join},
    {"Chr", 1, 1, chr},
    {"ChrW", 1, 1, chrw},
    {"Asc", 1, 1, asc},
    {"AscW", 1, 1, ascw},
    {"Space", 1, 1, space},
    {"String", 2, 2, string},
    {"StrReverse", 1, 1, strreverse},
    {"StrComp", 2, 3, strcomp},
    {nullptr, 0, 0, nullptr},
};

} // namespace runtime
} // namespace vbs
