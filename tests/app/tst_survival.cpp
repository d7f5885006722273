// Scripts that once took the whole program down, and scripts that never end, run through
// the window: each ends in a clean error, and the window and the user's text are still there.
#include <QtTest>
#include <QLabel>

#include "boxanswerer.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "txtcode.h"

namespace {

QString repeated(const QString &piece, int times) { return piece.repeated(times); }

QString inMain(const QString &body) { return "Sub Main()\r\n" + body + "\r\nEnd Sub\r\n"; }

} // namespace

class TestSurvival : public QObject {
    Q_OBJECT
private slots:
    void scriptEndsCleanly_data();
    void scriptEndsCleanly();
};

void TestSurvival::scriptEndsCleanly_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("box"); // the error box, or empty for a run that succeeds

    const QString stack = "28 - Out of stack space";
    const QString stopped = "5300 - The script ran past its time limit and was stopped";
    QTest::newRow("Execute running itself") << inMain("s = \"Execute s\"\r\nExecute s") << stack;
    QTest::newRow("50 000 terms of +")
        << inMain("x = 1" + repeated(" + 1", 50000) + "\r\nIf x <> 50001 Then Err.Raise 5") << QString();
    QTest::newRow("60 000 Not") << inMain("x = " + repeated("Not ", 60000) + "True") << stack;
    QTest::newRow("200 000 nested Ifs") << inMain(repeated("If True Then ", 200000) + "x = 1") << stack;
    QTest::newRow("member chain")
        << "Class C\r\nPublic P\r\nSub Class_Initialize\r\nSet P = Me\r\nEnd Sub\r\nEnd Class\r\n"
           + inMain("Set o = New C\r\nx = TypeName(o" + repeated(".P", 100000) + ")")
        << stack;
    QTest::newRow("index chain") << inMain("a = Array(0)\r\nx = a" + repeated("(0)", 100000)) << stack;
    QTest::newRow("endless loop") << inMain("Do\r\nLoop") << stopped;
    QTest::newRow("endless recursion") << "Sub R\r\nR\r\nEnd Sub\r\n" + inMain("R") << stack;
    QTest::newRow("huge allocation") << inMain("s = \"x\"\r\nDo\r\ns = s & s\r\nLoop") << "7 - Out of memory";
    QTest::newRow("endless Class_Terminate")
        << "Class C\r\nSub Class_Terminate\r\nDo\r\nLoop\r\nEnd Sub\r\nEnd Class\r\n"
           + inMain("Set o = New C\r\nSet o = Nothing\r\nMsgBox \"not reached\"")
        << stopped;
}

void TestSurvival::scriptEndsCleanly()
{
    QFETCH(QString, code);
    QFETCH(QString, box);
    FakeDesktop desktop;
    FrmMain window(desktop, "https://vornix.example.org/");
    window.show();
    // A short limit where the limit is what ends the script; elsewhere the product's own.
    window.sc1().setTimeout(box.startsWith("5300") ? 500 : 10000);
    window.txtCode()->setText(code);
    BoxAnswerer answerer; // the time limit's question is answered "Stop Script"
    window.RunCode();
    QVERIFY(window.isVisible());
    QCOMPARE(window.txtCode()->text(), code);
    QStringList shown;
    for (const BoxAnswerer::Box &b : answerer.boxes)
        if (!b.text.contains("Stop the script?"))
            shown << b.text;
    if (box.isEmpty()) {
        QCOMPARE(shown, QStringList());
        QCOMPARE(window.status()->text(), QString("Code Executed Successfully!"));
    } else {
        QCOMPARE(shown, QStringList{box});
    }
}

QTEST_MAIN(TestSurvival)
#include "tst_survival.moc"
