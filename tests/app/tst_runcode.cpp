#include <QtTest>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "boxanswerer.h"
#include "fakedesktop.h"
#include "statuslabel.h"
#include <QTextBlock>
#include "frmmain.h"
#include "txtcode.h"

namespace {

QColor statusColor(FrmMain *w) { return w->status()->palette().color(QPalette::WindowText); }

const QColor Red(255, 0, 0), Blue(0, 0, 255);

} // namespace

class TestRunCode : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startupTextSucceedsInBlue();
    void sameTextTwice();
    void emptyEditorAndNoMainFail_data();
    void emptyEditorAndNoMainFail();
    void syntaxErrorNeverCallsMain();
    void boxCleansMarkerStatusKeepsIt();
    void negativeNumberKeepsSign();
    void errorTextStaysUntilEdit();
    void messageDuringRunSuppressesSuccess();
    void editDuringRunSuppressesSuccess();
    void errorPutsCaretOnItsLine();
    void secondRunWhileRunningIsRefused();
    void executeMenuItemRunsToo();
    void runLeavesEditorTextAlone();
    void messageBoxButtonsAndDefault();
    void runawayScriptStoppedByUser();
    void failingCommandLeavesItsMessage();
    void inputBoxAnsweredAndCancelled();
    void wscriptInTheWindow();
    void f5RunsTheScript();
    void errorLineMarkedAndFocused();
    void undoAfterNewAndSnippet();
    void shortBoxShowsItsWholeTitle();
    void longStatusCutAtAWord();
    void commandExamplesRun_data();
    void commandExamplesRun();

private:
    FakeDesktop *m_desktop = nullptr;
    FrmMain *m_window = nullptr;
};

void TestRunCode::init()
{
    m_desktop = new FakeDesktop;
    m_window = new FrmMain(*m_desktop, "https://vornix.example.org/");
}

void TestRunCode::cleanup()
{
    delete m_window;
    delete m_desktop;
}

void TestRunCode::startupTextSucceedsInBlue()
{
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
    QCOMPARE(statusColor(m_window), Blue);
    QVERIFY(m_window->timer1()->isActive());
    m_window->timer1()->start(10);
    QTRY_COMPARE(m_window->status()->text(), QString());
}

void TestRunCode::sameTextTwice()
{
    m_window->RunCode();
    m_window->status()->clear();
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

void TestRunCode::emptyEditorAndNoMainFail_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << QString();
    QTest::newRow("no Main") << QString("Sub Other()\r\nEnd Sub\r\n");
}

void TestRunCode::emptyEditorAndNoMainFail()
{
    QFETCH(QString, code);
    BoxAnswerer answerer;
    m_window->txtCode()->setText(code);
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].title, QString("Vornix Coder"));
    QCOMPARE(answerer.boxes[0].icon, QMessageBox::NoIcon);
    QCOMPARE(answerer.boxes[0].buttons, 1);
    QVERIFY(answerer.boxes[0].text.startsWith("35 - Sub or Function not defined"));
    QVERIFY(m_window->status()->text().startsWith("Sub or Function not defined"));
    QCOMPARE(statusColor(m_window), Red);
    QVERIFY(!m_window->timer1()->isActive());
}

void TestRunCode::syntaxErrorNeverCallsMain()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"called\"\r\n  x = (1 +\r\nEnd Sub\r\n");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].text, QString("1023 - Expected expression"));
}

void TestRunCode::boxCleansMarkerStatusKeepsIt()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  qxCmd.qxNoSuch 1\r\nEnd Sub\r\n");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].text, QString("438 - Object doesn't support this property or method: 'NoSuch'"));
    QCOMPARE(m_window->status()->text(), QString("Object doesn't support this property or method: 'qxCmd.qxNoSuch'"));
}

void TestRunCode::negativeNumberKeepsSign()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  Err.Raise -2147221503, \"src\", \"qxCmd.QX and qxCmd.qx both\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.value(0).text, QString("-2147221503 - qxCmd.QX and  both"));
    QCOMPARE(m_window->status()->text(), QString("qxCmd.QX and qxCmd.qx both"));
}

void TestRunCode::errorTextStaysUntilEdit()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  x = 1 / 0\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("Division by zero"));
    QVERIFY(!m_window->timer1()->isActive());
    m_window->timer1()->setInterval(10);
    QTest::qWait(50);
    QCOMPARE(m_window->status()->text(), QString("Division by zero"));
    m_window->txtCode()->setSelStart(0);
    m_window->txtCode()->setSelText("'");
    QTRY_COMPARE(m_window->status()->text(), QString());
}

void TestRunCode::messageDuringRunSuppressesSuccess()
{
    // A command that fails writes its message and starts the timer; the run then leaves it.
    BoxAnswerer answerer;
    answerer.whileOpen = [this] { m_window->writeStatus("Can't Send Keys - something"); };
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"working\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(m_window->status()->text(), QString("Can't Send Keys - something"));
    QCOMPARE(statusColor(m_window), Red);
}

void TestRunCode::editDuringRunSuppressesSuccess()
{
    BoxAnswerer answerer;
    answerer.whileOpen = [this] { m_window->txtCode()->setSelText("x"); };
    m_window->status()->setText("old");
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"working\"\r\nEnd Sub");
    m_window->timer1()->stop();
    m_window->RunCode();
    QCOMPARE(m_window->status()->text(), QString("old"));
    QCOMPARE(statusColor(m_window), Red);
}

void TestRunCode::errorPutsCaretOnItsLine()
{
    BoxAnswerer answerer;
    const QString code = "Sub Main()\r\n  s = \"a\" & _\r\n      \"b\" & _\r\n      \"c\"\r\n  x = 1 / 0\r\nEnd Sub";
    m_window->txtCode()->setText(code);
    m_window->timer1()->stop();
    m_window->RunCode();
    QCOMPARE(m_window->txtCode()->selStart(), int(code.indexOf("  x = 1 / 0")));
    QCOMPARE(m_window->txtCode()->text(), code);
    QVERIFY(!m_window->timer1()->isActive()); // moving the caret is no edit
}

void TestRunCode::secondRunWhileRunningIsRefused()
{
    BoxAnswerer answerer;
    answerer.whileOpen = [this] { m_window->RunCode(); };
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"first\"\r\n  MsgBox \"still here\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes[1].text, QString("still here"));
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

void TestRunCode::executeMenuItemRunsToo()
{
    m_window->menuItem("mExecute")->trigger();
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
    m_window->status()->clear();
    m_window->findChild<QPushButton *>("btnExecute")->click();
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

void TestRunCode::runLeavesEditorTextAlone()
{
    // Rewriting and joining work on a copy: the editor keeps indentation and breaks.
    BoxAnswerer answerer;
    const QString code = "Sub Main()\r\n    x = \"a\" & _\r\n        \"b\"\r\n    Kill_ = 1\r\nEnd Sub\r\n";
    m_window->txtCode()->setText(code);
    m_window->RunCode();
    QCOMPARE(m_window->txtCode()->text(), code);
}

void TestRunCode::messageBoxButtonsAndDefault()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  If MsgBox(\"Sure?\", vbYesNo + vbDefaultButton2 + vbQuestion, \"Asking\") = vbNo Then MsgBox \"said no\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes[0].title, QString("Asking"));
    QCOMPARE(answerer.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(answerer.boxes[0].buttons, 2);
    QCOMPARE(answerer.boxes[1].text, QString("said no"));
    QCOMPARE(answerer.boxes[1].title, QString("Vornix Coder"));
}

void TestRunCode::runawayScriptStoppedByUser()
{
    BoxAnswerer answerer; // the time-limit question's default is to stop
    m_window->sc1().setTimeout(200);
    m_window->txtCode()->setText("Sub Main()\r\n  Do\r\n  Loop\r\nEnd Sub");
    QElapsedTimer clock;
    clock.start();
    m_window->RunCode();
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(answerer.boxes.size(), 2);
    QVERIFY(answerer.boxes[0].text.contains("Stop the script?"));
    QCOMPARE(answerer.boxes[1].text, QString("5300 - The script ran past its time limit and was stopped"));
    QCOMPARE(m_window->txtCode()->selStart(), int(QString("Sub Main()\r\n").size())); // the loop's line
}

void TestRunCode::failingCommandLeavesItsMessage()
{
    QTemporaryDir dir;
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n    Kill \"" + dir.filePath("absent.txt") + "\"\r\n"
                                 "    MkDir \"" + dir.filePath("made") + "\"\r\nEnd Sub");
    m_window->RunCode();
    QVERIFY(answerer.boxes.isEmpty());
    QCOMPARE(m_window->status()->text(), QString("Can't delete the file - File not found"));
    QCOMPARE(statusColor(m_window), Red);
    QVERIFY(m_window->timer1()->isActive()); // the command started it; it clears the message
    QVERIFY(QFileInfo(dir.filePath("made")).isDir()); // the script went on after the failure
}

void TestRunCode::inputBoxAnsweredAndCancelled()
{
    BoxAnswerer answerer;
    answerer.typed = "Ada";
    m_window->txtCode()->setText("Sub Main()\r\n    userName = InputBox(\"What is your name?\")\r\n"
                                 "    MsgBox \"Your name is \" & userName\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes[0].text, QString("What is your name?"));
    QCOMPARE(answerer.boxes[0].title, QString("Vornix Coder"));
    QCOMPARE(answerer.boxes[1].text, QString("Your name is Ada"));
    answerer.boxes.clear();
    answerer.typed = QString(); // Cancel gives the empty string
    m_window->RunCode();
    QCOMPARE(answerer.boxes.value(1).text, QString("Your name is "));
}

// The desktop host's WScript: Echo is a message box, Sleep waits, Quit ends as a success;
// there are no standard streams.
void TestRunCode::wscriptInTheWindow()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  WScript.Echo \"a\", 1, WScript.ScriptName, WScript.Arguments.Count\r\n"
                                 "  WScript.Sleep 30\r\n  WScript.Quit\r\n  MsgBox \"not reached\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].text, QString("a 1 Vornix Coder 0"));
    QCOMPARE(answerer.boxes[0].title, QString("Vornix Coder"));
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
    QCOMPARE(statusColor(m_window), Blue);

    m_window->txtCode()->setText("Sub Main()\r\n  WScript.StdOut.WriteLine \"x\"\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes[1].text, QString("-2147024890 - The handle is invalid"));
}

void TestRunCode::f5RunsTheScript()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_window->status()->clear();
    QTest::keyClick(m_window, Qt::Key_F5);
    QCOMPARE(m_window->status()->text(), QString("Code Executed Successfully!"));
}

// After an error the caret is at the start of its line, the line is marked until the next
// edit, and the editor has the focus so that the caret shows.
void TestRunCode::errorLineMarkedAndFocused()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  y = 2\r\n  x = 1 / 0\r\nEnd Sub");
    m_window->RunCode();
    TxtCode *editor = m_window->txtCode();
    QVERIFY(editor->hasErrorMark());
    QCOMPARE(editor->extraSelections().first().cursor.block().blockNumber(), 2);
    QCOMPARE(editor->textCursor().blockNumber(), 2);
    QCOMPARE(m_window->focusWidget(), static_cast<QWidget *>(editor));
    QTest::keyClick(editor, Qt::Key_A);
    QVERIFY(!editor->hasErrorMark());
}

void TestRunCode::undoAfterNewAndSnippet()
{
    TxtCode *editor = m_window->txtCode();
    editor->setSelStart(12);
    editor->setSelText("x = 1");
    const QString typed = editor->text();
    m_window->newCode();
    editor->undo();
    QCOMPARE(editor->text(), typed);
    m_window->menuItem("mSendKeys")->trigger(); // a snippet of several pieces: one step
    QVERIFY(editor->text() != typed);
    editor->undo();
    QCOMPARE(editor->text(), typed);
}

// A box with a short prompt is still wide enough for its whole title.
void TestRunCode::shortBoxShowsItsWholeTitle()
{
    BoxAnswerer answerer;
    m_window->txtCode()->setText("Sub Main()\r\n  MsgBox \"hi\", 0, \"A rather long title for such a short box\"\r\n  x = 1 / 0\r\nEnd Sub");
    m_window->RunCode();
    QCOMPARE(answerer.boxes.size(), 2);
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const BoxAnswerer::Box &b : answerer.boxes)
        QVERIFY2(b.width > QFontMetrics(bold).horizontalAdvance(b.title), qPrintable(b.title));
}

// A long error text: the line shows it cut after a word with "...", the tooltip and the
// label's own text (what screen readers read) have it whole; the geometry stays.
void TestRunCode::longStatusCutAtAWord()
{
    m_window->show();
    const QRect before = m_window->status()->geometry();
    BoxAnswerer answerer;
    const QString name = QString("a_name_so_long_that_the_status_line_cannot_hold_it_").repeated(4);
    m_window->txtCode()->setText("Sub Main()\r\n  x = " + name + "(1)\r\nEnd Sub");
    m_window->RunCode();
    QLabel *status = m_window->status();
    QVERIFY(status->text().startsWith("Type mismatch"));
    QCOMPARE(status->geometry(), before);
    QCOMPARE(status->text(), "Type mismatch: '" + name + "'");
    const QString shown = StatusLabel::fitted(status->text(), status->fontMetrics(), status->contentsRect().width());
    QCOMPARE(shown, QString("Type mismatch:..."));
    QCOMPARE(status->toolTip(), status->text());
    QCOMPARE(StatusLabel::fitted("one two three four", status->fontMetrics(),
                                 status->fontMetrics().horizontalAdvance("one two thr...")),
             QString("one two..."));
    QCOMPARE(StatusLabel::fitted("short", status->fontMetrics(), 1000), QString("short"));
}

void TestRunCode::commandExamplesRun_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::newRow("Send Keys") << "mSendKeys";
    QTest::newRow("Get File Length") << "mGetFileLength";
}

// The program's own examples call command words as functions (Shell(...), filelen(...)):
// they reach the command object, whose failures (no calculator, no such file) go to the
// status line while the run goes on; no error box stops the run.
void TestRunCode::commandExamplesRun()
{
    QFETCH(QString, menuItem);
    BoxAnswerer answerer;
    m_window->newCode();
    m_window->menuItem(menuItem)->trigger();
    m_window->RunCode();
    for (const BoxAnswerer::Box &b : answerer.boxes)
        QVERIFY2(!b.text.contains(" - "), qPrintable(b.text)); // an error box reads "N - text"
    QVERIFY(!m_window->status()->text().contains("Type mismatch"));
}

QTEST_MAIN(TestRunCode)
#include "tst_runcode.moc"
