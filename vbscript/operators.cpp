#include "operators.h"

#include <cmath>

#include "convert.h"

namespace vbs {

namespace {

bool isIntegral(VType t) { return t == VType::Byte || t == VType::Integer || t == VType::Long; }

int64_t integralOf(const Value &v)
{
    switch (v.type()) {
    case VType::Byte: return v.asByte();
    case VType::Integer: return v.asInteger();
    case VType::Long: return v.asLong();
    default: return 0;
    }
}

// The type of an arithmetic result for two numeric operands (not Null, not String).
VType arithmeticType(VType a, VType b)
{
    if (a == VType::Date || b == VType::Date)
        return VType::Date;
    if (a == VType::Currency || b == VType::Currency)
        return (a == VType::Double || b == VType::Double || a == VType::Single || b == VType::Single)
                   ? VType::Double : VType::Currency;
    if (a == VType::Double || b == VType::Double)
        return VType::Double;
    if (a == VType::Single || b == VType::Single) {
        const VType other = a == VType::Single ? b : a;
        return other == VType::Long ? VType::Double : VType::Single;
    }
    if (a == VType::Long || b == VType::Long)
        return VType::Long;
    if (a == VType::Byte && b == VType::Byte)
        return VType::Byte;
    return VType::Integer;
}

Value fromDouble(double d, VType t)
{
    switch (t) {
    case VType::Single: return Value::single(float(d));
    case VType::Date: return Value::date(d);
    default: return Value::dbl(d);
    }
}

bool checkFinite(Context &cx, double d)
{
    return std::isfinite(d) || cx.raise(err::Overflow);
}

bool arithmetic(Context &cx, BinOp op, const Value &x, const Value &y, Value &out)
{
    if (x.isNull() || y.isNull()) { // Null wins before the other side is looked at
        out = Value::null();
        return true;
    }
    Value a, b;
    if (!toNumeric(cx, x, a) || !toNumeric(cx, y, b))
        return false;
    if (a.isNull() || b.isNull()) {
        out = Value::null();
        return true;
    }
    const VType ta = x.type() == VType::Boolean && y.type() == VType::Boolean ? VType::Integer : a.type();
    const VType tb = b.type();
    VType rt = arithmeticType(ta, tb);
    if (isIntegral(a.type()) && isIntegral(b.type()) && op != BinOp::Div && op != BinOp::Pow) {
        const int64_t p = integralOf(a), q = integralOf(b);
        int64_t r = 0;
        switch (op) {
        case BinOp::Add: r = p + q; break;
        case BinOp::Sub: r = p - q; break;
        case BinOp::Mul: r = p * q; break;
        default: break;
        }
        out = integerResult(r, rt);
        return true;
    }
    if (rt == VType::Currency && op != BinOp::Div && op != BinOp::Pow) {
        // Exact: ten-thousandths added, or multiplied and rounded half to even.
        int64_t p, q;
        if (!toCurrency(cx, a, p) || !toCurrency(cx, b, q))
            return false;
        __int128 r;
        switch (op) {
        case BinOp::Add: r = __int128(p) + q; break;
        case BinOp::Sub: r = __int128(p) - q; break;
        default: {
            const __int128 product = __int128(p) * q;
            r = product / 10000;
            const __int128 rest = product % 10000;
            const __int128 twice = rest < 0 ? -2 * rest : 2 * rest;
            if (twice > 10000 || (twice == 10000 && r % 2 != 0))
                r += product < 0 ? -1 : 1;
            break;
        }
        }
        if (r > std::numeric_limits<int64_t>::max() || r < std::numeric_limits<int64_t>::min())
            return cx.raise(err::Overflow);
        out = Value::currency(int64_t(r));
        return true;
    }
    double p, q;
    if (!toDouble(cx, a, p) || !toDouble(cx, b, q))
        return false;
    double r;
    switch (op) {
    case BinOp::Add: r = p + q; break;
    case BinOp::Sub:
        r = p - q;
        if (a.type() == VType::Date && b.type() == VType::Date)
            rt = VType::Double;
        break;
    case BinOp::Mul: r = p * q; break;
    case BinOp::Div:
        if (q == 0)
            return cx.raise(p == 0 ? err::Overflow : err::DivisionByZero);
        r = p / q;
        rt = (a.type() == VType::Single && (b.type() == VType::Single || isIntegral(b.type())))
                     || (b.type() == VType::Single && isIntegral(a.type()))
                 ? VType::Single : VType::Double;
        break;
    default: // Pow
        if (p == 0 && q < 0)
            return cx.raise(err::InvalidCall);
        if (p < 0 && q != std::floor(q))
            return cx.raise(err::InvalidCall);
        r = std::pow(p, q);
        rt = VType::Double;
        break;
    }
    if (!checkFinite(cx, r))
        return false;
    if ((rt == VType::Single && std::fabs(r) > 3.402823466e38) || (rt == VType::Date && !isDateInRange(r)))
        return cx.raise(err::Overflow);
    if (isIntegral(rt)) // Byte/Integer/Long reached here only through Currency mixes
        rt = VType::Double;
    out = fromDouble(r, rt);
    return true;
}

// \ and Mod: both operands rounded to whole numbers first.
bool integerDivision(Context &cx, BinOp op, const Value &x, const Value &y, Value &out)
{
    if (x.isNull() || y.isNull()) {
        out = Value::null();
        return true;
    }
    Value a, b;
    if (!toNumeric(cx, x, a) || !toNumeric(cx, y, b))
        return false;
    if (a.isNull() || b.isNull()) {
        out = Value::null();
        return true;
    }
    const bool small = isIntegral(a.type()) && isIntegral(b.type()) && a.type() != VType::Long && b.type() != VType::Long;
    int32_t p, q;
    if (!toLong(cx, a, p) || !toLong(cx, b, q))
        return false;
    if (q == 0)
        return cx.raise(err::DivisionByZero);
    const int64_t r = op == BinOp::IntDiv ? int64_t(p) / q : int64_t(p) % q;
    if (r > INT32_MAX) // -2147483648 \ -1: a quotient no Long can hold
        return cx.raise(err::Overflow);
    const VType rt = a.type() == VType::Byte && b.type() == VType::Byte ? VType::Byte : small ? VType::Integer : VType::Long;
    out = integerResult(r, rt);
    return true;
}

bool concat(Context &cx, const Value &x, const Value &y, Value &out)
{
    if (x.isNull() && y.isNull()) {
        out = Value::null();
        return true;
    }
    QString a, b;
    if (!x.isNull() && !x.isEmpty() && !toText(cx, x, a))
        return false;
    if (!y.isNull() && !y.isEmpty() && !toText(cx, y, b))
        return false;
    QString joined;
    if (!joinText(cx, a, b, joined))
        return false;
    out = Value::string(std::move(joined));
    return true;
}

bool addition(Context &cx, const Value &x, const Value &y, Value &out)
{
    const bool xs = x.isString(), ys = y.isString();
    if (xs && ys) {
        QString joined;
        if (!joinText(cx, x.asString(), y.asString(), joined))
            return false;
        out = Value::string(std::move(joined));
        return true;
    }
    if (x.isNull() || y.isNull()) {
        out = Value::null();
        return true;
    }
    if ((xs && y.isEmpty()) || (ys && x.isEmpty())) {
        out = xs ? x : y;
        return true;
    }
    return arithmetic(cx, BinOp::Add, x, y, out);
}

// Which kind of comparison two values need.
enum class CompareKind { Numeric, Text, NumberBelowText, TextAboveNumber };

bool logical(Context &cx, BinOp op, const Value &x, const Value &y, Value &out)
{
    Value a, b;
    if (!valueOf(cx, x, a) || !valueOf(cx, y, b))
        return false;
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn) {
        // Null with a value that decides the result alone: Null And False, Null Or True.
        if (op == BinOp::And || op == BinOp::Or || op == BinOp::Imp) {
            const Value &other = an ? b : a;
            if (!other.isNull()) {
                int32_t v;
                bool bv = false;
                const bool isBool = other.type() == VType::Boolean;
                if (isBool)
                    bv = other.asBool();
                else if (!toLong(cx, other, v))
                    return false;
                else
                    bv = v != 0;
                if (op == BinOp::And && !bv && (isBool || v == 0)) {
                    out = isBool ? Value::boolean(false) : integerResult(0, other.type() == VType::Long ? VType::Long : VType::Integer);
                    return true;
                }
                if (op == BinOp::Or && isBool && bv) {
                    out = Value::boolean(true);
                    return true;
                }
                if (op == BinOp::Or && !isBool && v == -1) {
                    out = integerResult(-1, VType::Integer);
                    return true;
                }
                if (op == BinOp::Imp && ((an && isBool && bv) || (!an && isBool && !bv))) {
                    out = Value::boolean(true);
                    return true;
                }
            }
        }
        out = Value::null();
        return true;
    }
    if (a.type() == VType::Boolean && b.type() == VType::Boolean) {
        const bool p = a.asBool(), q = b.asBool();
        bool r = false;
        switch (op) {
        case BinOp::And: r = p && q; break;
        case BinOp::Or: r = p || q; break;
        case BinOp::Xor: r = p != q; break;
        case BinOp::Eqv: r = p == q; break;
        default: r = !p || q; break;
        }
        out = Value::boolean(r);
        return true;
    }
    auto asBits = [&cx](const Value &v, int32_t &bits) {
        if (v.type() == VType::String) {
            if (const std::optional<bool> b = booleanText(v.asString())) {
                bits = *b ? -1 : 0;
                return true;
            }
        }
        return toLong(cx, v, bits);
    };
    int32_t p, q;
    if (!asBits(a, p) || !asBits(b, q))
        return false;
    int32_t r;
    switch (op) {
    case BinOp::And: r = p & q; break;
    case BinOp::Or: r = p | q; break;
    case BinOp::Xor: r = p ^ q; break;
    case BinOp::Eqv: r = ~(p ^ q); break;
    default: r = ~p | q; break;
    }
    auto small = [](VType t) { return t == VType::Byte || t == VType::Integer || t == VType::Boolean || t == VType::Empty; };
    if (a.type() == VType::Byte && b.type() == VType::Byte)
        out = Value::byte(uint8_t(r));
    else if (small(a.type()) && small(b.type()))
        out = Value::integer(int16_t(r));
    else
        out = Value::lng(r);
    return true;
}

} // namespace

Value integerResult(int64_t r, VType atLeast)
{
    if (atLeast == VType::Byte && r >= 0 && r <= 255)
        return Value::byte(uint8_t(r));
    if ((atLeast == VType::Byte || atLeast == VType::Integer) && r >= -32768 && r <= 32767)
        return Value::integer(int16_t(r));
    if (r >= INT32_MIN && r <= INT32_MAX && atLeast != VType::Double)
        return Value::lng(int32_t(r));
    return Value::dbl(double(r));
}

bool compareValues(Context &cx, const Value &x, const Value &y, int &result, bool textCompare)
{
    Value a, b;
    if (!valueOf(cx, x, a) || !valueOf(cx, y, b))
        return false;
    if (a.isNull() || b.isNull()) {
        result = 2;
        return true;
    }
    if (a.isArray() || b.isArray() || a.type() == VType::Error || b.type() == VType::Error)
        return cx.raise(err::TypeMismatch);
    const bool as = a.isString(), bs = b.isString();
    if (as || bs) {
        if (as && bs) {
            const int c = QString::compare(a.asString(), b.asString(), textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
            result = c < 0 ? -1 : c > 0 ? 1 : 0;
            return true;
        }
        const Value &other = as ? b : a;
        if (other.isEmpty()) { // Empty against text compares as ""
            const QString &s = as ? a.asString() : b.asString();
            result = s.isEmpty() ? 0 : (as ? 1 : -1);
            return true;
        }
        // A number is less than any text.
        result = as ? 1 : -1;
        return true;
    }
    if (isIntegral(a.type()) && isIntegral(b.type())) {
        const int64_t p = integralOf(a), q = integralOf(b);
        result = p < q ? -1 : p > q ? 1 : 0;
        return true;
    }
    double p, q;
    if (!toDouble(cx, a, p) || !toDouble(cx, b, q))
        return false;
    if (a.type() == VType::Currency && b.type() == VType::Currency) {
        result = a.asCurrency() < b.asCurrency() ? -1 : a.asCurrency() > b.asCurrency() ? 1 : 0;
        return true;
    }
    // A Single compares at its own precision, against a Double too: CSng(0.1) = 0.1.
    auto floatLike = [](VType t) { return t == VType::Single || t == VType::Double || t == VType::Integer || t == VType::Byte; };
    if ((a.type() == VType::Single || b.type() == VType::Single) && floatLike(a.type()) && floatLike(b.type())) {
        p = float(p);
        q = float(q);
    }
    result = p < q ? -1 : p > q ? 1 : 0;
    return true;
}

bool binaryOp(Context &cx, BinOp op, const Value &a, const Value &b, Value &out)
{
    switch (op) {
    case BinOp::Add:
        if (a.isObject() || b.isObject()) {
            Value x, y;
            return valueOf(cx, a, x) && valueOf(cx, b, y) && addition(cx, x, y, out);
        }
        return addition(cx, a, b, out);
    case BinOp::Sub:
    case BinOp::Mul:
    case BinOp::Div:
    case BinOp::Pow:
        return arithmetic(cx, op, a, b, out);
    case BinOp::IntDiv:
    case BinOp::Mod:
        return integerDivision(cx, op, a, b, out);
    case BinOp::Concat:
        return concat(cx, a, b, out);
    case BinOp::Eq:
    case BinOp::Ne:
    case BinOp::Lt:
    case BinOp::Gt:
    case BinOp::Le:
    case BinOp::Ge: {
        int c;
        if (!compareValues(cx, a, b, c))
            return false;
        if (c == 2) {
            out = Value::null();
            return true;
        }
        bool r = false;
        switch (op) {
        case BinOp::Eq: r = c == 0; break;
        case BinOp::Ne: r = c != 0; break;
        case BinOp::Lt: r = c < 0; break;
        case BinOp::Gt: r = c > 0; break;
        case BinOp::Le: r = c <= 0; break;
        default: r = c >= 0; break;
        }
        out = Value::boolean(r);
        return true;
    }
    case BinOp::Is:
        if (!a.isObject() || !b.isObject())
            return cx.raise(err::ObjectRequired);
        out = Value::boolean(a.asObject() == b.asObject());
        return true;
    default:
        return logical(cx, op, a, b, out);
    }
}

bool negate(Context &cx, const Value &x, Value &out)
{
    Value a;
    if (!toNumeric(cx, x, a))
        return false;
    switch (a.type()) {
    case VType::Null: out = a; return true;
    case VType::Byte: out = Value::integer(int16_t(-int(a.asByte()))); return true;
    case VType::Integer: out = integerResult(-int64_t(a.asInteger()), VType::Integer); return true;
    case VType::Long: out = integerResult(-int64_t(a.asLong()), VType::Long); return true;
    case VType::Single: out = Value::single(-a.asSingle()); return true;
    case VType::Double: out = Value::dbl(-a.asDouble()); return true;
    case VType::Date:
        if (!isDateInRange(-a.asDate()))
            return cx.raise(err::Overflow);
        out = Value::date(-a.asDate());
        return true;
    case VType::Currency:
        if (a.asCurrency() == std::numeric_limits<int64_t>::min()) // -(-922337203685477.5808)
            return cx.raise(err::Overflow);
        out = Value::currency(-a.asCurrency());
        return true;
    default: return cx.raise(err::TypeMismatch);
    }
}

bool logicalNot(Context &cx, const Value &x, Value &out)
{
    Value a;
    if (!valueOf(cx, x, a))
        return false;
    switch (a.type()) {
    case VType::Null: out = a; return true;
    case VType::Boolean: out = Value::boolean(!a.asBool()); return true;
    case VType::Byte: out = Value::byte(uint8_t(~a.asByte())); return true;
    case VType::Integer: out = Value::integer(int16_t(~a.asInteger())); return true;
    case VType::Empty: out = Value::integer(-1); return true;
    default: {
        if (a.type() == VType::String) {
            if (const std::optional<bool> b = booleanText(a.asString())) {
                out = Value::boolean(!*b);
                return true;
            }
        }
        int32_t l;
        if (!toLong(cx, a, l))
            return false;
        out = Value::lng(~l);
        return true;
    }
    }
}

} // namespace vbs
