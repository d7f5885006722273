// The byte functions: LenB, LeftB, RightB, MidB, AscB, ChrB, InStrB. A string's bytes are
// its UTF-16 code units, low byte first, as VBScript's strings are laid out in memory.
// A result with an odd number of bytes ends in a character that holds the last byte alone.
#include <QByteArray>

#include "builtins.h"
#include "convert.h"

namespace vbs::runtime {

namespace {

QByteArray bytesOf(const QString &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

QString fromBytes(const QByteArray &bytes)
{
    return byteString(bytes);
}

bool lenb(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    if (a[0].isArray() && a[0].asArray()->isBytes()) { // its own count, odd ones too
        r = Value::lng(int32_t(a[0].asArray()->data.size()));
        return true;
    }
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::lng(int32_t(s.size() * 2));
    return true;
}

// A byte count: Null is 94, below zero 5.
bool count(Context &cx, const Value &v, int32_t &n)
{
    if (v.isNull())
        return cx.raise(err::InvalidNull);
    return toLong(cx, v, n) && (n >= 0 || cx.raise(err::InvalidCall));
}

// LeftB and RightB, one body.
template <bool FromRight>
bool endsb(Context &cx, Args a, Value &r)
{
    int32_t n;
    if (!count(cx, a[1], n))
        return false;
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    const QByteArray bytes = bytesOf(s);
    r = Value::string(fromBytes(FromRight ? bytes.right(n) : bytes.left(n)));
    return true;
}

bool midb(Context &cx, Args a, Value &r)
{
    int32_t start, n = -1;
    if ((a.has(2) && a[2].isNull()) || a[1].isNull())
        return cx.raise(err::InvalidNull);
    if (!toLong(cx, a[1], start))
        return false;
    if (start < 1)
        return cx.raise(err::InvalidCall);
    if (a.has(2) && !count(cx, a[2], n))
        return false;
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::string(fromBytes(bytesOf(s).mid(start - 1, n)));
    return true;
}

bool ascb(Context &cx, Args a, Value &r)
{
    if (a[0].isNull())
        return cx.raise(err::InvalidNull);
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    if (s.isEmpty())
        return cx.raise(err::InvalidCall);
    r = Value::integer(int16_t(s[0].unicode() & 0xFF));
    return true;
}

bool chrb(Context &cx, Args a, Value &r)
{
    int32_t code;
    if (a[0].isNull())
        return cx.raise(err::InvalidNull);
    if (!toLong(cx, a[0], code))
        return false;
    if (code < 0 || code > 255)
        return cx.raise(err::InvalidCall);
    r = Value::string(fromBytes(QByteArray(1, char(code))));
    return true;
}

// InStrB([start, ]text, sought): the byte position of the sought bytes.
bool instrb(Context &cx, Args a, Value &r)
{
    int first = 0;
    int32_t start = 1;
    if (a.count >= 3) {
        if (a[0].isNull())
            return cx.raise(err::InvalidNull);
        if (!toLong(cx, a[0], start))
            return false;
        if (start < 1)
            return cx.raise(err::InvalidCall);
        first = 1;
    }
    if (a[first].isNull() || a[first + 1].isNull()) {
        r = Value::null();
        return true;
    }
    QString text, sought;
    if (!toText(cx, a[first], text) || !toText(cx, a[first + 1], sought))
        return false;
    const QByteArray hay = bytesOf(text), needle = bytesOf(sought);
    if (start > hay.size())
        r = Value::lng(0);
    else if (needle.isEmpty())
        r = Value::lng(start);
    else
        r = Value::lng(int32_t(hay.indexOf(needle, start - 1) + 1));
    return true;
}

} // namespace

const Builtin byteFunctions[] = {
    {"LenB", 1, 1, lenb},
    {"LeftB", 2, 2, endsb<false>},
    {"RightB", 2, 2, endsb<true>},
    {"MidB", 2, 3, midb},
    {"AscB", 1, 1, ascb},
    {"ChrB", 1, 1, chrb},
    {"InStrB", 2, 3, instrb},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
