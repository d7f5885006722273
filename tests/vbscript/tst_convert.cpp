#include <QtTest>

#include "convert.h"
#include "engine.h"

using namespace vbs;

// The conversions every built-in leans on: numbers and dates to text and back.
class TestConvert : public QObject {
    Q_OBJECT
private slots:
    void doubleAsText_data();
    void doubleAsText();
    void numberFromText_data();
    void numberFromText();
    void dateFromText_data();
    void dateFromText();
    void datePartsRoundTrip();
    void halfToEven();
    void currencyText();
    void decimalSeparatorFollowsLocale();
};

void TestConvert::doubleAsText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 42.0 << "42";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("15 digits") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("rounds the 16th") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("largest plain") << 999999999999999.0 << "999999999999999";
    QTest::newRow("E above") << 1e15 << "1E+15";
    QTest::newRow("E above, digits") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("smallest plain") << 0.0001 << "0.0001";
    QTest::newRow("E below") << 0.00001 << "1E-05";
    QTest::newRow("negative") << -0.5 << "-0.5";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("huge") << 1.7976931348623157e308 << "1.79769313486232E+308";
}

void TestConvert::doubleAsText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(formatDouble(value), text);
}

void TestConvert::numberFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("blanks around") << "  -1.5  " << true << -1.5;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("D exponent") << "2D2" << true << 200.0;
    QTest::newRow("leading dot") << ".5" << true << 0.5;
    QTest::newRow("plus sign") << "+7" << true << 7.0;
    QTest::newRow("hex") << "&HFF" << true << 255.0;
    QTest::newRow("hex -1 as Integer") << "&HFFFF" << true << -1.0;
    QTest::newRow("hex as Long") << "&H10000" << true << 65536.0;
    QTest::newRow("octal") << "&O17" << true << 15.0;
    QTest::newRow("thousands") << "1,000" << true << 1000.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("letters") << "12abc" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("lone exponent") << "1e" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
}

void TestConvert::numberFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<double> parsed = parseNumber(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestConvert::dateFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // empty: not a date
    QTest::newRow("US order") << "12/25/2026" << "12/25/2026";
    QTest::newRow("ISO order") << "2026-12-25" << "12/25/2026";
    QTest::newRow("two-digit year") << "1/2/26" << "1/2/2026";
    QTest::newRow("with time") << "12/25/2026 10:30 PM" << "12/25/2026 10:30:00 PM";
    QTest::newRow("time alone") << "13:05:09" << "1:05:09 PM";
    QTest::newRow("month name") << "25 December 2026" << "12/25/2026";
    QTest::newRow("month first") << "Dec 25, 2026" << "12/25/2026";
    QTest::newRow("no such day") << "2/30/2026" << "";
    QTest::newRow("no such hour") << "25:00" << "";
    QTest::newRow("not a date") << "hello" << "";
}

void TestConvert::dateFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    const std::optional<double> d = parseDate(text);
    QCOMPARE(d.has_value(), !written.isEmpty());
    if (d)
        QCOMPARE(formatDate(*d), written);
}

void TestConvert::datePartsRoundTrip()
{
    QCOMPARE(dateFromParts(1899, 12, 30), 0.0);
    QCOMPARE(dateFromParts(1900, 1, 1), 2.0);
    QCOMPARE(dateFromParts(2026, 13, 1), dateFromParts(2027, 1, 1)); // months run over
    QCOMPARE(dateFromParts(2026, 3, 0), dateFromParts(2026, 2, 28)); // so do days
    int y, m, d, h, mi, s;
    dateToParts(dateFromParts(2026, 12, 7, 22 * 3600 + 5 * 60 + 9), y, m, d, h, mi, s);
    QCOMPARE((QList<int>{y, m, d, h, mi, s}), (QList<int>{2026, 12, 7, 22, 5, 9}));
    // Before 1900 the time of day still counts forward from midnight.
    dateToParts(dateFromParts(1899, 12, 29, 6 * 3600), y, m, d, h, mi, s);
    QCOMPARE((QList<int>{y, m, d, h}), (QList<int>{1899, 12, 29, 6}));
}

void TestConvert::halfToEven()
{
    QCOMPARE(roundHalfEven(0.5), 0.0);
    QCOMPARE(roundHalfEven(1.5), 2.0);
    QCOMPARE(roundHalfEven(2.5), 2.0);
    QCOMPARE(roundHalfEven(-2.5), -2.0);
    QCOMPARE(roundHalfEven(2.6), 3.0);
}

void TestConvert::currencyText()
{
    QCOMPARE(formatCurrency(12345), QString("1.2345"));
    QCOMPARE(formatCurrency(10000), QString("1"));
    QCOMPARE(formatCurrency(-15000), QString("-1.5"));
    QCOMPARE(formatCurrency(0), QString("0"));
}

void TestConvert::decimalSeparatorFollowsLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(formatDouble(2.5), QString("2,5"));
    QCOMPARE(parseNumber("2,5").value_or(0), 2.5);
    Engine e; // and so does the script's text
    QVERIFY(e.addCode("s = CStr(1.25)"));
    QVERIFY(e.addCode("Function S_() : S_ = s : End Function"));
    Value r;
    QVERIFY(e.run("S_", {}, &r));
    QCOMPARE(r.asString(), QString("1,25"));
    QLocale::setDefault(saved);
    QCOMPARE(formatDouble(2.5), QString("2.5"));
}

QTEST_APPLESS_MAIN(TestConvert)
#include "tst_convert.moc"
