// Dates and times: Now, Date, Time, Timer, Year .. Second, Weekday, DateSerial, ...
#include <QDateTime>
#include <QLocale>
#include <cmath>

#include "builtins.h"
#include "convert.h"

namespace vbs::runtime {

namespace {

double nowAsDate(bool withDate, bool withTime)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    const double seconds = t.hour() * 3600 + t.minute() * 60 + t.second();
    if (!withDate)
        return seconds / 86400.0;
    return dateFromParts(d.year(), d.month(), d.day(), withTime ? seconds : 0);
}

bool now(Context &, Args, Value &r) { r = Value::date(nowAsDate(true, true)); return true; }
bool date(Context &, Args, Value &r) { r = Value::date(nowAsDate(true, false)); return true; }
bool time(Context &, Args, Value &r) { r = Value::date(nowAsDate(false, true)); return true; }

bool timer(Context &, Args, Value &r)
{
    const QTime t = QTime::currentTime();
    r = Value::single(float(t.msecsSinceStartOfDay() / 1000.0));
    return true;
}

enum Part { Year, Month, Day, Hour, Minute, Second };

template <Part P>
bool datePart(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    double d;
    if (!toDate(cx, a[0], d))
        return false;
    int parts[6];
    dateToParts(d, parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    r = Value::integer(int16_t(parts[P]));
    return true;
}

// Weekday(date[, firstday]): 1 for the first day of the week (Sunday by default).
bool weekday(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        r = Value::null();
        return true;
    }
    double d;
    if (!toDate(cx, a[0], d))
        return false;
    int32_t first = 1;
    if (a.has(1) && !toLong(cx, a[1], first))
        return false;
    if (first < 0 || first > 7)
        return cx.raise(err::InvalidCall);
    if (first == 0)
        first = 1;
    // 30 December 1899 was a Saturday (7).
    const int64_t days = int64_t(std::floor(d));
    const int sundayBased = int(((days + 6) % 7 + 7) % 7) + 1;
    r = Value::integer(int16_t((sundayBased - first + 7) % 7 + 1));
    return true;
}

bool dateserial(Context &cx, Args a, Value &r)
{
    int32_t y, m, d;
    if (!toLong(cx, a[0], y) || !toLong(cx, a[1], m) || !toLong(cx, a[2], d))
        return false;
    if (y >= 0 && y < 100)
        y += y < 30 ? 2000 : 1900;
    const double result = dateFromParts(y, m, d);
    if (result < -657434.0 || result >= 2958466.0)
        return cx.raise(err::InvalidCall);
    r = Value::date(result);
    return true;
}

bool timeserial(Context &cx, Args a, Value &r)
{
    int32_t h, m, s;
    if (!toLong(cx, a[0], h) || !toLong(cx, a[1], m) || !toLong(cx, a[2], s))
        return false;
    r = Value::date((h * 3600.0 + m * 60.0 + s) / 86400.0);
    return true;
}

bool datevalue(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDate(cx, a[0], d))
        return false;
    r = Value::date(std::trunc(d));
    return true;
}

bool timevalue(Context &cx, Args a, Value &r)
{
    double d;
    if (!toDate(cx, a[0], d))
        return false;
    r = Value::date(std::fabs(d - std::trunc(d)));
    return true;
}

bool monthname(Context &cx, Args a, Value &r)
{
    int32_t m;
    bool abbreviate = false;
    if (!toLong(cx, a[0], m) || (a.has(1) && !toBool(cx, a[1], abbreviate)))
        return false;
    if (m < 1 || m > 12)
        return cx.raise(err::InvalidCall);
    r = Value::string(QLocale().monthName(m, abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
    return true;
}

bool weekdayname(Context &cx, Args a, Value &r)
{
    int32_t w, first = 1;
    bool abbreviate = false;
    if (!toLong(cx, a[0], w) || (a.has(1) && !toBool(cx, a[1], abbreviate)) || (a.has(2) && !toLong(cx, a[2], first)))
        return false;
    if (w < 1 || w > 7 || first < 0 || first > 7)
        return cx.raise(err::InvalidCall);
    if (first == 0)
        first = 1;
    const int sundayBased = (w - 1 + first - 1) % 7; // 0 = Sunday
    const int qtDay = sundayBased == 0 ? 7 : sundayBased;
    r = Value::string(QLocale().dayName(qtDay, abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
    return true;
}

} // namespace

const Builtin dateFunctions[] = {
    {"Now", 0, 0, now},
    {"Date", 0, 0, date},
    {"Time", 0, 0, time},
    {"Timer", 0, 0, timer},
    {"Year", 1, 1, datePart<Year>},
    {"Month", 1, 1, datePart<Month>},
    {"Day", 1, 1, datePart<Day>},
    {"Hour", 1, 1, datePart<Hour>},
    {"Minute", 1, 1, datePart<Minute>},
    {"Second", 1, 1, datePart<Second>},
    {"Weekday", 1, 2, weekday},
    {"DateSerial", 3, 3, dateserial},
    {"TimeSerial", 3, 3, timeserial},
    {"DateValue", 1, 1, datevalue},
    {"TimeValue", 1, 1, timevalue},
    {"MonthName", 1, 2, monthname},
    {"WeekdayName", 1, 3, weekdayname},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
