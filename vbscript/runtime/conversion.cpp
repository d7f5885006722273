// Conversion and inspection functions: CInt .. CDate, VarType, TypeName, Is*.
#include "builtins.h"
#include "convert.h"
#include <cmath>

namespace vbs::runtime {

namespace {

bool cint(Context &cx, Args a, Value &r)
{
    int16_t v;
    if (!toInteger(cx, a[0], v))
        return false;
    r = Value::integer(v);
    return true;
}

bool clng(Context &cx, Args a, Value &r)
{
    int32_t v;
    if (!toLong(cx, a[0], v))
        return false;
    r = Value::lng(v);
    return true;
}

bool csng(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDouble(cx, a[0], d))
        return false;
    if (std::fabs(d) > 3.402823466e38)
        return cx.raise(err::Overflow);
    r = Value::single(float(d));
    return true;
}

bool cdbl(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDouble(cx, a[0], d))
        return false;
    r = Value::dbl(d);
    return true;
}

bool ccur(Context &cx, Args a, Value &r)
{
    int64_t c;
    if (!toCurrency(cx, a[0], c))
        return false;
    r = Value::currency(c);
    return true;
}

bool cstr(Context &cx, Args a, Value &r)
{
    QString s;
    if (!toText(cx, a[0], s))
        return false;
    r = Value::string(s);
    return true;
}

bool cbool(Context &cx, Args a, Value &r)
{
    bool b;
    if (!toBool(cx, a[0], b))
        return false;
    r = Value::boolean(b);
    return true;
}

bool cbyte(Context &cx, Args a, Value &r)
{
    uint8_t b;
    if (!toByte(cx, a[0], b))
        return false;
    r = Value::byte(b);
    return true;
}

bool cdate(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDate(cx, a[0], d))
        return false;
    r = Value::date(d);
    return true;
}

bool vartype(Context &cx, Args a, Value &r)
{
    Q_UNUSED(cx);
    const Value &v = a[0];
    int type = int(v.type());
    if (v.isArray())
        type = int(VType::Array) + int(v.asArray()->elements);
    r = Value::integer(int16_t(type));
    return true;
}

QString typeNameOf(const Value &v)
{
    switch (v.type()) {
    case VType::Empty: return QStringLiteral("Empty");
    case VType::Null: return QStringLiteral("Null");
    case VType::Integer: return QStringLiteral("Integer");
    case VType::Long: return QStringLiteral("Long");
    case VType::Single: return QStringLiteral("Single");
    case VType::Double: return QStringLiteral("Double");
    case VType::Currency: return QStringLiteral("Currency");
    case VType::Date: return QStringLiteral("Date");
    case VType::String: return QStringLiteral("String");
    case VType::Object: return v.asObject() ? v.asObject()->typeName() : QStringLiteral("Nothing");
    case VType::Error: return QStringLiteral("Error");
    case VType::Boolean: return QStringLiteral("Boolean");
    case VType::Byte: return QStringLiteral("Byte");
    case VType::Array: return v.asArray()->isBytes() ? QStringLiteral("Byte()") : QStringLiteral("Variant()");
    default: return QStringLiteral("Unknown");
    }
}

bool typename_(Context &, Args a, Value &r)
{
    r = Value::string(typeNameOf(a[0]));
    return true;
}

bool isempty(Context &, Args a, Value &r) { r = Value::boolean(a[0].isEmpty()); return true; }
bool isnull(Context &, Args a, Value &r) { r = Value::boolean(a[0].isNull()); return true; }
bool isarray(Context &, Args a, Value &r) { r = Value::boolean(a[0].isArray()); return true; }
bool isobject(Context &, Args a, Value &r) { r = Value::boolean(a[0].isObject()); return true; }

bool isnumeric(Context &cx, Args a, Value &r)
{
    // An object is numeric when its default property gives a number.
    Value v = a[0];
    if (v.isObject()) {
        Value plain;
        if (!valueOf(cx, v, plain)) {
            if (cx.fatal)
                return false;
            cx.clearError(); // no default property: not a number
            r = Value::boolean(false);
            return true;
        }
        v = plain;
    }
    bool numeric = v.isNumeric() || v.type() == VType::Boolean || v.isEmpty();
    if (v.isString())
        numeric = parseNumber(v.asString()).has_value();
    r = Value::boolean(numeric);
    return true;
}

bool isdate(Context &, Args a, Value &r)
{
    const Value &v = a[0];
    r = Value::boolean(v.type() == VType::Date || (v.isString() && parseDate(v.asString()).has_value()));
    return true;
}

bool scriptengine(Context &, Args, Value &r) { r = Value::string(QStringLiteral("VBScript")); return true; }
bool enginemajor(Context &, Args, Value &r) { r = Value::lng(5); return true; }
bool engineminor(Context &, Args, Value &r) { r = Value::lng(8); return true; }
bool enginebuild(Context &, Args, Value &r) { r = Value::lng(16384); return true; }
// The locale is the desktop's; scripts see the United States' identifier and cannot change it.
bool getlocale(Context &, Args, Value &r) { r = Value::lng(1033); return true; }
bool setlocale(Context &, Args, Value &r) { r = Value::lng(1033); return true; }

} // namespace

const Builtin conversionFunctions[] = {
    {"CInt", 1, 1, cint},
    {"CLng", 1, 1, clng},
    {"CSng", 1, 1, csng},
    {"CDbl", 1, 1, cdbl},
    {"CCur", 1, 1, ccur},
    {"CStr", 1, 1, cstr},
    {"CBool", 1, 1, cbool},
    {"CByte", 1, 1, cbyte},
    {"CDate", 1, 1, cdate},
    {nullptr, 0, 0, nullptr},
};

const Builtin infoFunctions[] = {
    {"ScriptEngine", 0, 0, scriptengine},
    {"ScriptEngineMajorVersion", 0, 0, enginemajor},
    {"ScriptEngineMinorVersion", 0, 0, engineminor},
    {"ScriptEngineBuildVersion", 0, 0, enginebuild},
    {"GetLocale", 0, 0, getlocale},
    {"SetLocale", 0, 1, setlocale},
    {"VarType", 1, 1, vartype},
    {"TypeName", 1, 1, typename_},
    {"IsEmpty", 1, 1, isempty},
    {"IsNull", 1, 1, isnull},
    {"IsNumeric", 1, 1, isnumeric},
    {"IsArray", 1, 1, isarray},
    {"IsObject", 1, 1, isobject},
    {"IsDate", 1, 1, isdate},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
