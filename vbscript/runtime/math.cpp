// Numbers and arrays: Abs, Int, Round, Rnd, Hex, Array, UBound, ...
#include <cmath>

#include "builtins.h"
#include "convert.h"
#include "operators.h"

namespace vbs::runtime {

namespace {

// Applies a function of a Double; Null gives Null.
template <double (*F)(double)>
bool mathFunction(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    double d;
    if (!toDouble(cx, a[0], d))
        return false;
    const double result = F(d);
    if (std::isnan(result))
        return cx.raise(err::InvalidCall);
    if (!std::isfinite(result))
        return cx.raise(err::Overflow);
    r = Value::dbl(result);
    return true;
}

double sqrtChecked(double d) { return d < 0 ? NAN : std::sqrt(d); }
double logChecked(double d) { return d <= 0 ? NAN : std::log(d); }
double sinOf(double d) { return std::sin(d); }
double cosOf(double d) { return std::cos(d); }
double tanOf(double d) { return std::tan(d); }
double atnOf(double d) { return std::atan(d); }
double expOf(double d) { return std::exp(d); }

// Int rounds down, Fix towards zero; both keep the argument's type.
bool wholePart(Context &cx, const Value &v, Value &r, bool towardZero)
{
    Value n;
    if (!toNumeric(cx, v, n))
        return false;
    switch (n.type()) {
    case VType::Null:
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
        r = n;
        return true;
    case VType::Currency: {
        const int64_t c = n.asCurrency();
        int64_t w = c / 10000 * 10000;
        if (!towardZero && c < 0 && w != c)
            w -= 10000;
        r = Value::currency(w);
        return true;
    }
    default: {
        double d;
        toDouble(cx, n, d);
        d = towardZero ? std::trunc(d) : std::floor(d);
        r = n.type() == VType::Single ? Value::single(float(d)) : n.type() == VType::Date ? Value::date(d) : Value::dbl(d);
        return true;
    }
    }
}
bool int_(Context &cx, Args a, Value &r) { return wholePart(cx, a[0], r, false); }
bool fix(Context &cx, Args a, Value &r) { return wholePart(cx, a[0], r, true); }

bool abs_(Context &cx, Args a, Value &r)
{
    Value n;
    if (!toNumeric(cx, a[0], n))
        return false;
    if (n.isNull()) {
        r = n;
        return true;
    }
    int c;
    if (!compareValues(cx, n, Value::integer(0), c))
        return false;
    if (c < 0)
        return negate(cx, n, r);
    r = a[0].isEmpty() ? Value::integer(0) : n;
    return true;
}

bool sgn(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDouble(cx, a[0], d))
        return false;
    r = Value::integer(int16_t(d > 0 ? 1 : d < 0 ? -1 : 0));
    return true;
}

// Round(number[, places]): half to even, as the banker rounds.
bool round(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    Value n;
    if (!toNumeric(cx, a[0], n))
        return false;
    int32_t places = 0;
    if (a.has(1) && !toLong(cx, a[1], places))
        return false;
    if (places < 0)
        return cx.raise(err::InvalidCall);
    if (a[0].type() == VType::Boolean) { // Round(True) is True
        r = a[0];
        return true;
    }
    if (n.type() == VType::Integer || n.type() == VType::Long || n.type() == VType::Byte) {
        r = n;
        return true;
    }
    double d;
    toDouble(cx, n, d);
    // Past 2^53 a Double has no fraction left to round: more places change nothing.
    const double scale = std::pow(10.0, std::min(places, 400));
    const double scaled = d * scale;
    const double result = std::fabs(scaled) < 9007199254740992.0 ? roundHalfEven(scaled) / scale : d;
    r = n.type() == VType::Single ? Value::single(float(result)) : n.type() == VType::Currency ? Value::currency(int64_t(std::llround(result * 10000))) : Value::dbl(result);
    return true;
}

bool rnd(Context &cx, Args a, Value &r)
{
    double arg = 1;
    if (a.has(0) && !toDouble(cx, a[0], arg))
        return false;
    r = Value::single(cx.nextRandom(arg));
    return true;
}

bool radix(Context &cx, Args a, Value &r, int base)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    Value n;
    if (!toNumeric(cx, a[0], n))
        return false;
    int32_t l;
    if (!toLong(cx, n, l))
        return false;
    const bool small = n.type() == VType::Integer || n.type() == VType::Byte;
    const quint64 bits = small && l < 0 ? quint64(uint16_t(l)) : quint64(uint32_t(l));
    r = Value::string(QString::number(bits, base).toUpper());
    return true;
}
bool hex(Context &cx, Args a, Value &r) { return radix(cx, a, r, 16); }
bool oct(Context &cx, Args a, Value &r) { return radix(cx, a, r, 8); }

bool array(Context &, Args a, Value &r)
{
    auto *arr = new ArrayData;
    arr->counts.push_back(a.count);
    arr->lbounds.push_back(0);
    arr->data.reserve(size_t(a.count));
    for (int i = 0; i < a.count; ++i)
        arr->data.push_back(a[i]);
    r = Value::array(arr);
    return true;
}

bool bound(Context &cx, Args a, Value &r, bool upper)
{
    if (!a[0].isArray())
        return cx.raise(err::TypeMismatch);
    int32_t dim = 1;
    if (a.has(1) && !toLong(cx, a[1], dim))
        return false;
    const ArrayData *arr = a[0].asArray();
    if (dim < 1 || dim > arr->dims())
        return cx.raise(err::SubscriptOutOfRange);
    r = Value::lng(upper ? arr->ubound(dim - 1) : arr->lbounds[size_t(dim - 1)]);
    return true;
}
bool ubound(Context &cx, Args a, Value &r) { return bound(cx, a, r, true); }
bool lbound(Context &cx, Args a, Value &r) { return bound(cx, a, r, false); }

// RGB(red, green, blue): the colour as VBScript numbers it, each part at most 255.
bool rgb(Context &cx, Args a, Value &r)
{
    int32_t c[3];
    for (int i = 0; i < 3; ++i) {
        if (!toLong(cx, a[i], c[i]))
            return false;
        if (c[i] < 0)
            return cx.raise(err::InvalidCall);
        c[i] = qMin(c[i], 255);
    }
    r = Value::lng(c[0] + c[1] * 256 + c[2] * 65536);
    return true;
}

} // namespace

const Builtin mathFunctions[] = {
    {"RGB", 3, 3, rgb},
    {"Abs", 1, 1, abs_},
    {"Sgn", 1, 1, sgn},
    {"Int", 1, 1, int_},
    {"Fix", 1, 1, fix},
    {"Round", 1, 2, round},
    {"Rnd", 0, 1, rnd},
    {"Sqr", 1, 1, mathFunction<sqrtChecked>},
    {"Log", 1, 1, mathFunction<logChecked>},
    {"Exp", 1, 1, mathFunction<expOf>},
    {"Sin", 1, 1, mathFunction<sinOf>},
    {"Cos", 1, 1, mathFunction<cosOf>},
    {"Tan", 1, 1, mathFunction<tanOf>},
    {"Atn", 1, 1, mathFunction<atnOf>},
    {"Hex", 1, 1, hex},
    {"Oct", 1, 1, oct},
    {nullptr, 0, 0, nullptr},
};

const Builtin arrayFunctions[] = {
    {"Array", 0, 127, array},
    {"UBound", 1, 2, ubound},
    {"LBound", 1, 2, lbound},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
