// The window while a script runs: it repaints and answers, Escape or Break stops the
// script, and nothing the user does can change the text or start another run meanwhile.
#include <QtTest>
#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "boxanswerer.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "txtcode.h"

namespace {

const QString EndlessLoop = QStringLiteral("Sub Main()\r\n  x = 1\r\n  Do\r\n    x = x + 1\r\n  Loop\r\nEnd Sub\r\n");

} // namespace

class TestRunning : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void stopKeysEndTheScript_data();
    void stopKeysEndTheScript();
    void windowAnswersButRefusesEditsMeanwhile();
    void stopInsideSleepAndLibraryWork_data();
    void stopInsideSleepAndLibraryWork();
    void escapeInTheScriptsBoxIsTheBoxs();
    void sleepingIsNoLoop();
    void commandMessageOutlivesItsTickDuringTheRun();

private:
    FakeDesktop *m_desktop = nullptr;
    FrmMain *m_window = nullptr;
};

void TestRunning::init()
{
    m_desktop = new FakeDesktop;
    m_window = new FrmMain(*m_desktop, "https://vornix.example.org/");
    m_window->show();
}

void TestRunning::cleanup()
{
    delete m_window;
    delete m_desktop;
}

void TestRunning::stopKeysEndTheScript_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+Break") << int(Qt::Key_Pause) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Break as Cancel") << int(Qt::Key_Cancel) << int(Qt::ControlModifier);
}

void TestRunning::stopKeysEndTheScript()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    BoxAnswerer answerer;
    m_window->txtCode()->setText(EndlessLoop);
    QElapsedTimer clock;
    QTimer::singleShot(200, m_window, [&] {
        clock.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QApplication::sendEvent(m_window->txtCode(), &press);
    });
    m_window->RunCode();
    QVERIFY2(clock.isValid() && clock.elapsed() < 1000, "stopped within a second");
    QVERIFY(answerer.boxes.isEmpty()); // the user knows: the status line says it
    QCOMPARE(m_window->status()->text(), QString("Stopped by the user"));
    QCOMPARE(m_window->status()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(m_window->txtCode()->hasErrorMark());
    const int line = int(m_window->txtCode()->text().left(m_window->txtCode()->selStart()).count("\r\n")) + 1;
    QVERIFY2(line >= 3 && line <= 5, qPrintable(QString::number(line))); // a line of the loop
    // Afterwards everything is as before the run.
    QVERIFY(!m_window->txtCode()->isReadOnly());
    QVERIFY(m_window->menuItem("mExecute")->isEnabled());
    QCOMPARE(m_window->txtCode()->text(), EndlessLoop);
}

void TestRunning::windowAnswersButRefusesEditsMeanwhile()
{
    m_window->txtCode()->setText(EndlessLoop);
    bool checked = false;
    QTimer::singleShot(500, m_window, [&] {
        // Still here while the loop runs: this timer fired, and the window says so.
        QCOMPARE(m_window->status()->text(), FrmMain::RunningText);
        QVERIFY(m_window->txtCode()->isReadOnly());
        m_window->txtCode()->setFocus();
        QTest::keyClicks(m_window->txtCode(), "typed");
        for (const char *name : {"mExecute", "mFileNew", "mFileOpen", "mMessageBoxTypes", "mSendKeys"})
            QVERIFY2(!m_window->menuItem(name)->isEnabled(), name);
        QVERIFY(m_window->menuItem("mFileSave")->isEnabled()); // saving changes nothing
        m_window->findChild<QPushButton *>("btnNew")->click();
        m_window->findChild<QPushButton *>("btnExecute")->click();
        checked = true;
        QTest::keyClick(m_window->txtCode(), Qt::Key_Escape);
    });
    m_window->RunCode();
    QVERIFY(checked);
    QCOMPARE(m_window->txtCode()->text(), EndlessLoop);
    QCOMPARE(m_window->status()->text(), QString("Stopped by the user"));
}

void TestRunning::stopInsideSleepAndLibraryWork_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("Sleep") << "WScript.Sleep 60000";
    QTest::newRow("long library calls") << "s = Space(1000000)\r\nDo\r\nx = Replace(s, \" \", \"ab\")\r\nLoop";
    QTest::newRow("recursion") << "Do\r\nx = F(25)\r\nLoop";
}

void TestRunning::stopInsideSleepAndLibraryWork()
{
    QFETCH(QString, body);
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Function F(n)\r\nIf n < 2 Then F = n Else F = F(n - 1) + F(n - 2)\r\nEnd Function\r\n"
                                 "Sub Main()\r\n" + body
                                 + "\r\nEnd Sub\r\n");
    QElapsedTimer clock;
    QTimer::singleShot(300, m_window, [&] {
        clock.start();
        QTest::keyClick(m_window->txtCode(), Qt::Key_Escape);
    });
    m_window->RunCode();
    QVERIFY(clock.isValid() && clock.elapsed() < 1000);
    QVERIFY(answerer.boxes.isEmpty());
    QCOMPARE(m_window->status()->text(), QString("Stopped by the user"));
}

void TestRunning::escapeInTheScriptsBoxIsTheBoxs()
{
    // Escape in a script's message box answers the box; the script goes on.
    m_window->txtCode()->setText("Sub Main()\r\n  If MsgBox(\"go on?\", vbOKCancel) = vbCancel Then x = 1\r\nEnd Sub");
    QTimer::singleShot(200, m_window, [] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

void TestRunning::sleepingIsNoLoop()
{
    // In the window a sleep does not count against the time limit: no "stuck in a loop?".
    BoxAnswerer answerer;
    m_window->sc1().setTimeout(300);
    m_window->txtCode()->setText("Sub Main()\r\n  WScript.Sleep 700\r\nEnd Sub");
    m_window->RunCode();
    QVERIFY(answerer.boxes.isEmpty());
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

void TestRunning::commandMessageOutlivesItsTickDuringTheRun()
{
    // A command's failure message is this run's: its tick during the run leaves it, and
    // the run does not report success over it; it clears one period after the run.
    BoxAnswerer answerer;
    m_window->timer1()->setInterval(100);
    answerer.whileOpen = [this] { m_window->writeStatus("Can't Send Keys - something"); };
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"working\"\r\n  WScript.Sleep 400\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("Can't Send Keys - something"));
    QVERIFY(m_window->timer1()->isActive());
    QTRY_COMPARE(m_window->status()->text(), QString());
}

QTEST_MAIN(TestRunning)
#include "tst_running.moc"
