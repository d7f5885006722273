// FormatNumber, FormatCurrency, FormatPercent and FormatDateTime.
#include <QDate>
#include <QLocale>
#include <cmath>

#include "builtins.h"
#include "convert.h"

namespace vbs::runtime {

namespace {

constexpr int UseDefault = -2;

QChar groupSeparator()
{
    const QString g = QLocale().groupSeparator();
    return g.isEmpty() ? QLatin1Char(',') : g.at(0);
}

// The number with `digits` decimals, grouped thousands, and the locale's separators.
QString formatted(double value, int digits, bool leadingDigit, bool parens, bool group)
{
    const bool negative = value < 0 && std::nearbyint(std::fabs(value) * std::pow(10.0, digits)) != 0;
    QString text = QString::number(std::fabs(value), 'f', digits);
    QString whole = text.section(QLatin1Char('.'), 0, 0);
    const QString fraction = digits > 0 ? text.section(QLatin1Char('.'), 1, 1) : QString();
    if (group)
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, groupSeparator());
    if (!leadingDigit && whole == QLatin1String("0") && digits > 0)
        whole.clear();
    text = fraction.isEmpty() ? whole : whole + decimalSeparator() + fraction;
    if (negative)
        text = parens ? QLatin1Char('(') + text + QLatin1Char(')') : QLatin1Char('-') + text;
    return text;
}

// The optional arguments shared by the three number formats.
bool options(Context &cx, Args a, int &digits, bool &leading, bool &parens, bool &group, bool parensDefault)
{
    int32_t d = -1, l = UseDefault, p = UseDefault, g = UseDefault;
    if ((a.has(1) && !toLong(cx, a[1], d)) || (a.has(2) && !toLong(cx, a[2], l))
        || (a.has(3) && !toLong(cx, a[3], p)) || (a.has(4) && !toLong(cx, a[4], g)))
        return false;
    if (d < -1 || d > 255)
        return cx.raise(err::InvalidCall);
    digits = d == -1 ? 2 : d;
    leading = l == UseDefault ? true : l != 0;
    parens = p == UseDefault ? parensDefault : p != 0;
    group = g == UseDefault ? true : g != 0;
    return true;
}

bool numberFormat(Context &cx, Args a, Value &r, double scale, const QString &prefix, const QString &suffix,
                  bool parensDefault)
{
    double value;
    if (a[0].isNull())
        return cx.raise(err::TypeMismatch);
    if (!toDouble(cx, a[0], value))
        return false;
    int digits = 2;
    bool leading = true, parens = false, group = true;
    if (!options(cx, a, digits, leading, parens, group, parensDefault))
        return false;
    QString text = formatted(value * scale, digits, leading, parens, group);
    // The symbol goes inside the sign or the parentheses.
    const bool open = text.startsWith(QLatin1Char('(')) || text.startsWith(QLatin1Char('-'));
    text.insert(open ? 1 : 0, prefix);
    if (text.endsWith(QLatin1Char(')')))
        text.insert(text.size() - 1, suffix);
    else
        text += suffix;
    r = Value::string(text);
    return true;
}

bool formatnumber(Context &cx, Args a, Value &r) { return numberFormat(cx, a, r, 1, QString(), QString(), false); }

bool formatcurrency(Context &cx, Args a, Value &r)
{
    QString symbol = QLocale().currencySymbol();
    if (symbol.isEmpty())
        symbol = QStringLiteral("$");
    return numberFormat(cx, a, r, 1, symbol, QString(), true);
}

bool formatpercent(Context &cx, Args a, Value &r) { return numberFormat(cx, a, r, 100, QString(), QStringLiteral("%"), false); }

// FormatDateTime(date[, format]): 0 general, 1 long date, 2 short date, 3 long time, 4 short time.
bool formatdatetime(Context &cx, Args a, Value &r)
{
    double d;
    int32_t style = 0;
    if (a[0].isNull())
        return cx.raise(err::TypeMismatch);
    if (!toDate(cx, a[0], d) || (a.has(1) && !toLong(cx, a[1], style)))
        return false;
    int y, mo, day, h, mi, s;
    dateToParts(d, y, mo, day, h, mi, s);
    const QDate date(y, mo, day);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    switch (style) {
    case 0: r = Value::string(formatDate(d)); return true;
    case 1: r = Value::string(english.toString(date, QStringLiteral("dddd, MMMM d, yyyy"))); return true;
    case 2: r = Value::string(QStringLiteral("%1/%2/%3").arg(mo).arg(day).arg(y)); return true;
    case 3:
        r = Value::string(QStringLiteral("%1:%2:%3 %4").arg(h % 12 == 0 ? 12 : h % 12)
                              .arg(mi, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'))
                              .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM")));
        return true;
    case 4: r = Value::string(QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(mi, 2, 10, QLatin1Char('0'))); return true;
    default: return cx.raise(err::InvalidCall);
    }
}

} // namespace

const Builtin formatFunctions[] = {
    {"FormatNumber", 1, 5, formatnumber},
    {"FormatCurrency", 1, 5, formatcurrency},
    {"FormatPercent", 1, 5, formatpercent},
    {"FormatDateTime", 1, 2, formatdatetime},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
