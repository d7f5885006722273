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

// The first day of the week as an argument gives it (vbSunday 1 .. vbSaturday 7; 0, the
// system's, is Sunday here); anything else is error 5.
bool firstDayArg(Context &cx, Args a, int index, int &first)
{
    int32_t f = 1;
    if (a.has(index) && !toLong(cx, a[index], f))
        return false;
    if (f < 0 || f > 7)
        return cx.raise(err::InvalidCall);
    first = f == 0 ? 1 : f;
    return true;
}

// The day's place in its week, 1 to 7, counted from `first`. 30 December 1899 (day 0)
// was a Saturday.
int dayOfWeek(double date, int first)
{
    const int64_t days = int64_t(std::floor(date));
    const int sundayBased = int(((days + 6) % 7 + 7) % 7) + 1;
    return (sundayBased - first + 7) % 7 + 1;
}

// The week of the year, with the week that starts the year chosen by `firstWeek`:
// 1 the week of 1 January, 2 the first with four days of the year, 3 the first whole one.
int weekOfYear(double date, int first, int firstWeek)
{
    const double day = std::floor(date);
    const int dateYear = QDate(1899, 12, 30).addDays(qint64(day)).year();
    for (int year = dateYear; year > dateYear - 2; --year) { // its own year, or the one before
        const double jan1 = std::floor(dateFromParts(year, 1, 1));
        const int before = dayOfWeek(jan1, first) - 1; // days of that week in the old year
        double week1 = jan1 - before;
        if ((firstWeek == 2 && before > 3) || (firstWeek == 3 && before > 0))
            week1 += 7;
        if (day >= week1)
            return int((day - week1) / 7) + 1;
    }
    return 1;
}

// Weekday(date[, firstday]): 1 for the first day of the week (Sunday by default).
bool weekday(Context &cx, Args a, Value &r)
{
    if (a[0].isNull()) {
        // The first day is checked even when the date is Null: Null there is 94, text 13,
        // a number outside 0..7 is 5.
        if (a.has(1)) {
            if (a[1].isNull())
                return cx.raise(err::InvalidNull);
            int first;
            if (!firstDayArg(cx, a, 1, first))
                return false;
        }
        r = Value::null();
        return true;
    }
    double d;
    int first;
    if (!toDate(cx, a[0], d) || !firstDayArg(cx, a, 1, first))
        return false;
    r = Value::integer(int16_t(dayOfWeek(d, first)));
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
    if (!isDateInRange(result))
        return cx.raise(err::InvalidCall);
    r = Value::date(result);
    return true;
}

bool timeserial(Context &cx, Args a, Value &r)
{
    int32_t h, m, s;
    if (!toLong(cx, a[0], h) || !toLong(cx, a[1], m) || !toLong(cx, a[2], s))
        return false;
    const double result = (h * 3600.0 + m * 60.0 + s) / 86400.0;
    if (!isDateInRange(result))
        return cx.raise(err::Overflow);
    r = Value::date(result);
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
    if (a.has(1) && a[1].isNull())
        return cx.raise(err::InvalidNull);
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

// The interval names of DateAdd, DateDiff and DatePart.
enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second, Invalid };

Interval intervalOf(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("yyyy")) return Interval::Year;
    if (n == QLatin1String("q")) return Interval::Quarter;
    if (n == QLatin1String("m")) return Interval::Month;
    if (n == QLatin1String("y")) return Interval::DayOfYear;
    if (n == QLatin1String("d")) return Interval::Day;
    if (n == QLatin1String("w")) return Interval::Weekday;
    if (n == QLatin1String("ww")) return Interval::Week;
    if (n == QLatin1String("h")) return Interval::Hour;
    if (n == QLatin1String("n")) return Interval::Minute;
    if (n == QLatin1String("s")) return Interval::Second;
    return Interval::Invalid;
}

double secondsOfDay(double date)
{
    return std::round(std::fabs(date - std::trunc(date)) * 86400.0);
}

// DateAdd(interval, number, date): months keep the day where the month has it, else its last.
bool dateadd(Context &cx, Args a, Value &r)
{
    if (a[2].isNull()) {
        r = Value::null();
        return true;
    }
    QString name;
    double n, d;
    if (!toText(cx, a[0], name) || !toDouble(cx, a[1], n) || !toDate(cx, a[2], d))
        return false;
    const Interval iv = intervalOf(name);
    const double count = std::trunc(n); // any size: a result outside the dates is error 5
    int y, mo, day, h, mi, sec;
    dateToParts(d, y, mo, day, h, mi, sec);
    double result;
    switch (iv) {
    case Interval::Year:
    case Interval::Quarter:
    case Interval::Month: {
        const double months = count * (iv == Interval::Year ? 12 : iv == Interval::Quarter ? 3 : 1);
        const double total = y * 12.0 + (mo - 1) + months;
        if (!(total >= 100 * 12 && total < 10000 * 12))
            return cx.raise(err::InvalidCall);
        const int ny = int(total) / 12, nm = int(total) % 12 + 1;
        const int last = QDate(ny, nm, 1).daysInMonth();
        result = dateFromParts(ny, nm, qMin(day, last), secondsOfDay(d));
        break;
    }
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: result = d + count; break;
    case Interval::Week: result = d + 7.0 * count; break;
    case Interval::Hour: result = d + count / 24.0; break;
    case Interval::Minute: result = d + count / 1440.0; break;
    case Interval::Second: result = d + count / 86400.0; break;
    default: return cx.raise(err::InvalidCall);
    }
    if (!isDateInRange(result))
        return cx.raise(err::InvalidCall);
    r = Value::date(result);
    return true;
}

// DateDiff(interval, date1, date2): how many interval boundaries lie between them.
bool datediff(Context &cx, Args a, Value &r)
{
    QString name;
    double d1, d2;
    int first;
    if (!toText(cx, a[0], name) || !toDate(cx, a[1], d1) || !toDate(cx, a[2], d2) || !firstDayArg(cx, a, 3, first))
        return false;
    int y1, m1, dd1, h1, mi1, s1, y2, m2, dd2, h2, mi2, s2;
    dateToParts(d1, y1, m1, dd1, h1, mi1, s1);
    dateToParts(d2, y2, m2, dd2, h2, mi2, s2);
    const double days1 = std::floor(dateFromParts(y1, m1, dd1)), days2 = std::floor(dateFromParts(y2, m2, dd2));
    const double secs1 = days1 * 86400.0 + h1 * 3600 + mi1 * 60 + s1;
    const double secs2 = days2 * 86400.0 + h2 * 3600 + mi2 * 60 + s2;
    double diff;
    switch (intervalOf(name)) {
    case Interval::Year: diff = y2 - y1; break;
    case Interval::Quarter: diff = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3); break;
    case Interval::Month: diff = (y2 * 12 + m2) - (y1 * 12 + m1); break;
    case Interval::DayOfYear:
    case Interval::Day: diff = days2 - days1; break;
    case Interval::Weekday: diff = std::trunc((days2 - days1) / 7); break;
    case Interval::Week: // first days of the week crossed; day `first` is such a day
        diff = std::floor((days2 - first) / 7) - std::floor((days1 - first) / 7);
        break;
    case Interval::Hour: diff = std::floor(secs2 / 3600) - std::floor(secs1 / 3600); break;
    case Interval::Minute: diff = std::floor(secs2 / 60) - std::floor(secs1 / 60); break;
    case Interval::Second: diff = secs2 - secs1; break;
    default: return cx.raise(err::InvalidCall);
    }
    r = diff >= -2147483648.0 && diff <= 2147483647.0 ? Value::lng(int32_t(diff)) : Value::dbl(diff);
    return true;
}

// DatePart(interval, date): the part of the date the interval names.
// DatePart(interval, date[, firstdayofweek[, firstweekofyear]])
bool datepart(Context &cx, Args a, Value &r)
{
    if (a[1].isNull()) {
        r = Value::null();
        return true;
    }
    QString name;
    double d;
    int first;
    int32_t firstWeek = 1;
    if (!toText(cx, a[0], name) || !toDate(cx, a[1], d) || !firstDayArg(cx, a, 2, first)
        || (a.has(3) && !toLong(cx, a[3], firstWeek)))
        return false;
    if (firstWeek < 0 || firstWeek > 3)
        return cx.raise(err::InvalidCall);
    int y, mo, day, h, mi, sec;
    dateToParts(d, y, mo, day, h, mi, sec);
    const QDate date(y, mo, day);
    int part;
    switch (intervalOf(name)) {
    case Interval::Year: part = y; break;
    case Interval::Quarter: part = (mo - 1) / 3 + 1; break;
    case Interval::Month: part = mo; break;
    case Interval::DayOfYear: part = date.dayOfYear(); break;
    case Interval::Day: part = day; break;
    case Interval::Weekday: part = dayOfWeek(d, first); break;
    case Interval::Week: part = weekOfYear(d, first, firstWeek == 0 ? 1 : firstWeek); break;
    case Interval::Hour: part = h; break;
    case Interval::Minute: part = mi; break;
    case Interval::Second: part = sec; break;
    default: return cx.raise(err::InvalidCall);
    }
    r = Value::integer(int16_t(part));
    return true;
}

} // namespace

const Builtin dateFunctions[] = {
    {"DateAdd", 3, 3, dateadd},
    {"DateDiff", 3, 5, datediff},
    {"DatePart", 2, 4, datepart},
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
