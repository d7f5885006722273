#include <QtTest>
#include <QAction>
#include <QLabel>

#include "cmdreplace.h"
#include "engine.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "qxrun.h"
#include "snippets.h"
#include "statussink.h"
#include "txtcode.h"

namespace {

const QString N = QStringLiteral("\r\n");

// The texts each menu item inserts, written out here from the program's description (not
// generated from the snippet tables), with "\r\n" for every line break.
const QList<QPair<QString, QString>> expected = {
    {"mAccessibilityOptions", N + "    Run \"Accessibility\"" + N},
    {"mAddRemoveProgram", N + "    Run \"Add or Remove Program\"" + N},
    {"mDisplayProperties", N + "    Run \"Display Properties\"" + N},
    {"mWindowsFirewall", N + "    Run \"Windows Firewall\"" + N},
    {"mAddHardwareWizard", N + "    Run \"Add Hardware Wizard\"" + N},
    {"mInternetProperties", N + "    Run \"Internet Properties\"" + N},
    {"mRegionalLanguageOptions", N + "    Run \"Regional and Language Options\"" + N},
    {"mGameController", N + "    Run \"Game Controller\"" + N},
    {"mMouseProperties", N + "    Run \"Mouse\"" + N},
    {"mSoundProperties", N + "    Run \"Sound\"" + N},
    {"mNetworkConnections", N + "    Run \"Network Connections\"" + N},
    {"mUserAccounts", N + "    Run \"User Accounts\"" + N},
    {"mSystemProperties", N + "    Run \"System Properties\"" + N},
    {"mDateTimeProperties", N + "    Run \"Date and Time Properties\"" + N},
    {"mMessageBoxTypes",
     N + "    msgbox \"This is a simple MessageBox.\"" + N
     + N + "    msgbox \"This is a information MessageBox\", vbInformation" + N
     + N + "    msgbox \"This is a exclamation MessageBox\", vbExclamation" + N
     + N + "    msgbox \"This is a critical/error MessageBox\", vbCritical" + N
     + N + "    msgbox \"This is a question MessageBox\", vbQuestion" + N},
    {"mMessageBoxwithButtons",
     N + "    msgbox \"This is a MessageBox with button [OK] only\", vbOkOnly" + N
     + N + "    msgbox \"This is a MessageBox with buttons [OK] [CANCEL]\", vbOKCancel" + N
     + N + "    msgbox \"This is a MessageBox with buttons [YES] [NO]\", vbYesNo" + N
     + N + "    msgbox \"This is a MessageBox with buttons [YES] [NO] [CANCEL]\", vbYesNoCancel" + N
     + N + "    msgbox \"This is a MessageBox with buttons [RETRY] [CANCEL]\", vbRetryCancel" + N
     + N + "    msgbox \"This is a MessageBox with [ABORT] [RETRY] AND [IGNORE] buttons\", vbAbortRetryIgnore" + N},
    {"mMessageBoxButtonsCoding",
     N + "    reply = MsgBox(\"Click on a button\", vbYesNoCancel)" + N + N
     + N + "    Select Case reply" + N
     + N + "        Case vbYes" + N
     + N + "            MsgBox \"you clicked  [YES]  button\"" + N
     + N + "        Case vbNo" + N
     + N + "            MsgBox \"you clicked  [NO]  button\"" + N
     + N + "        Case vbCancel" + N
     + N + "            MsgBox \"you clicked  [CANCEL]  button\"" + N
     + N + "    End Select" + N},
    {"mInputBox",
     N + "    userName = InputBox(\"What is your name?\")" + N
     + N + "    MsgBox \"Your name is \" & userName" + N},
    {"mSumCalculator",
     N + "    xValue = InputBox(\"Enter a value for X\")" + N
     + N + "    yValue = InputBox(\"Enter a value for Y\")" + N
     + N + "    Sum = CInt(xValue) + CInt(yValue)" + N
     + N + "    msgbox \"Sum is \" & Sum" + N},
    {"mDeclaringVariables",
     N + "'<<<REMEMBER! IN VORNIX CODER YOU CAN NOT DEFINE VARIABLES DIRECTLY" + N
     + N + "'<<<you don't need to declare variable but simply put your varible in your code" + N
     + N + "'<<<To specify the format use the \"C\" Convertion" + N
     + N + "'<<<i.e. for Integer Convertion use CInt" + N + N
     + N + "    mIntegerVariable = CInt(inputbox(\"Integer Value i.e. 123\"))" + N
     + N + "    mSingleVariable = CSng(inputbox(\"Single Value i.e. 123.1234\"))" + N
     + N + "    mDoubleVariable = CDbl(inputbox(\"Double Value i.e. 123.12345678\"))" + N
     + N + "    msgbox \"Integer Value = \" & mIntegerVariable " + N
     + N + "    msgbox \"Single Value = \" & mSingleVariable" + N
     + N + "    msgbox \"Double Value = \" & mDoubleVariable" + N},
    {"mFocusApplication",
     N + "'<<<Activates Notepad if is open" + N
     + N + "    AppActivate \"Untitled - Notepad\", True"},
    {"mSendKeys",
     N + "'<<< Opens Calculator, SendKeys from 1 to 100 and Adds and then Exit Calculator" + N
     + N + "    ReturnValue = Shell(\"CALC.EXE\")" + N
     + N + "    AppActivate ReturnValue" + N
     + N + "    SendKeys \"123456789\" & \"{+}\" & \"123456789\"" + N
     + N + "    SendKeys \"987654321\" & \"{-}\" & \"123456789\"" + N
     + N + "    SendKeys \"987654321\" & \"{/}\" & \"321\"" + N
     + N + "    SendKeys \"1234\" & \"{*}\" & \"4321\"" + N
     + N + "    SendKeys \"%{F4}\"" + N},
    {"mRun", N + "'<<<Runs Micrsoft Word" + N + N + "'Example:" + N + N + "run \"winword.exe\"" + N},
    {"mShell", N + "'<<<Runs Calcuator" + N + N + "    Shell(\"CALC.EXE\")" + N},
    {"mDeleteFile", N + "'<<<Delete the File [autorun.inf]" + N + "    Kill \"C:\\autorun.inf.bat\"" + N},
    {"mRenameFile", "'<<<If [abc.txt] file exists in c:\\ it will be renamed as \"xyz.txt\"" + N
                    + N + "    rename \"c:\\abc.txt\" , \"xyz.txt\"" + N},
    {"mCopyFile", N + "'<<<Copy a File[d:\\myFile] to [c:\\myFile]" + N
                  + N + "'<<<FileCopy \"d:\\myfile.bmp\", \"c:\\myFile.bmp\"" + N},
    {"mGetFileLength", N + "    msgbox filelen(\"c:\\windows\\notepad.exe\")" + N},
    {"mMakeDirectory", N + "    mkdir \"d:\\myDirectory\"" + N},
};

class ScriptedHost : public vbs::Host {
public:
    int msgBox(vbs::Context &, const QString &, int, const QString &) override { return 1; }
    std::optional<QString> inputBox(vbs::Context &, const QString &, const QString &, const QString &) override { return QString("12"); }
    bool stopRunawayScript() override { return true; }
};

class NullSink : public StatusSink {
public:
    void writeStatus(const QString &) override {}
};

} // namespace

class TestSnippets : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyItemInsertsItsText_data();
    void everyItemInsertsItsText();
    void countsFromTheDescription();
    void replacesTheSelection();
    void caretAtTheVeryStart();
    void caretAtEndOfLine();
    void twoItemsInARow();
    void focusThenShell();
    void renameAtEndOfSubMainAndOnEmptyLine();
    void onePieceOneChange();
    void statusLineUntouched();
    void examplesCompileAndRun_data();
    void examplesCompileAndRun();

private:
    QString insert(const QString &control);
    FakeDesktop *m_desktop = nullptr;
    FrmMain *m_window = nullptr;
};

void TestSnippets::init()
{
    m_desktop = new FakeDesktop;
    m_window = new FrmMain(*m_desktop, "https://vornix.example.org/");
}

void TestSnippets::cleanup()
{
    delete m_window;
    delete m_desktop;
}

QString TestSnippets::insert(const QString &control)
{
    QAction *item = m_window->menuItem(control);
    if (!item)
        return "no such item";
    item->trigger();
    return m_window->txtCode()->text();
}

void TestSnippets::everyItemInsertsItsText_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    for (const auto &[control, text] : expected)
        QTest::newRow(qPrintable(control)) << control << text;
}

void TestSnippets::everyItemInsertsItsText()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    m_window->txtCode()->setText(QString());
    QCOMPARE(insert(control), text);
    QCOMPARE(m_window->txtCode()->selStart(), int(text.size())); // the caret follows the text
}

void TestSnippets::countsFromTheDescription()
{
    QCOMPARE(snippets::all().size(), 29);
    QCOMPARE(int(expected.size()), 29);
    auto inserted = [this](const char *control) {
        m_window->txtCode()->setText(QString());
        return insert(control);
    };
    QCOMPARE(inserted("mMessageBoxTypes").size(), 295);
    QCOMPARE(inserted("mMessageBoxButtonsCoding").count("\r\n"), 19);
    QCOMPARE(inserted("mDeclaringVariables").count("\r\n"), 21);
    QVERIFY(inserted("mDeclaringVariables").contains("mIntegerVariable \r\n"));
}

void TestSnippets::replacesTheSelection()
{
    m_window->txtCode()->setText("Sub Main()\r\nSELECTED\r\nEnd Sub");
    QTextCursor c = m_window->txtCode()->textCursor();
    c.setPosition(m_window->txtCode()->toDocument(12));
    c.setPosition(m_window->txtCode()->toDocument(20), QTextCursor::KeepAnchor);
    m_window->txtCode()->setTextCursor(c);
    QCOMPARE(insert("mAccessibilityOptions"), QString("Sub Main()\r\n\r\n    Run \"Accessibility\"\r\n\r\nEnd Sub"));
}

void TestSnippets::caretAtTheVeryStart()
{
    m_window->txtCode()->setSelStart(0);
    QCOMPARE(insert("mShell"), QString("\r\n'<<<Runs Calcuator\r\n\r\n    Shell(\"CALC.EXE\")\r\nSub Main()\r\n\r\nEnd Sub\r\n"));
}

void TestSnippets::caretAtEndOfLine()
{
    // From the start-up text with the caret in the empty line: the lines of the description.
    QCOMPARE(insert("mAccessibilityOptions"), QString("Sub Main()\r\n\r\n    Run \"Accessibility\"\r\n\r\nEnd Sub\r\n"));
    m_window->txtCode()->setSelStart(10); // the end of "Sub Main()"
    insert("mMouseProperties");
    QVERIFY(m_window->txtCode()->text().startsWith("Sub Main()\r\n    Run \"Mouse\"\r\n\r\n"));
}

void TestSnippets::twoItemsInARow()
{
    m_window->txtCode()->setText(QString());
    insert("mAccessibilityOptions");
    QCOMPARE(insert("mSoundProperties"), QString("\r\n    Run \"Accessibility\"\r\n\r\n    Run \"Sound\"\r\n"));
}

void TestSnippets::focusThenShell()
{
    m_window->txtCode()->setText(QString());
    insert("mFocusApplication");
    QCOMPARE(insert("mShell"), QString("\r\n'<<<Activates Notepad if is open\r\n\r\n    AppActivate \"Untitled - Notepad\", True"
                                       "\r\n'<<<Runs Calcuator\r\n\r\n    Shell(\"CALC.EXE\")\r\n"));
}

void TestSnippets::renameAtEndOfSubMainAndOnEmptyLine()
{
    m_window->txtCode()->setSelStart(10);
    QCOMPARE(insert("mRenameFile"), QString("Sub Main()'<<<If [abc.txt] file exists in c:\\ it will be renamed as \"xyz.txt\"\r\n"
                                            "\r\n    rename \"c:\\abc.txt\" , \"xyz.txt\"\r\n\r\n\r\nEnd Sub\r\n"));
    m_window->newCode();
    QCOMPARE(insert("mRenameFile"), QString("Sub Main()\r\n'<<<If [abc.txt] file exists in c:\\ it will be renamed as \"xyz.txt\"\r\n"
                                            "\r\n    rename \"c:\\abc.txt\" , \"xyz.txt\"\r\n\r\nEnd Sub"));
}

void TestSnippets::onePieceOneChange()
{
    QSignalSpy changes(m_window->txtCode(), &TxtCode::changed);
    insert("mSendKeys");
    QCOMPARE(changes.count(), 8);
    m_window->timer1()->stop();
    insert("mGetFileLength");
    QVERIFY(m_window->timer1()->isActive()); // every piece starts the status timer
}

void TestSnippets::statusLineUntouched()
{
    m_window->status()->setText("kept");
    insert("mDeclaringVariables");
    QCOMPARE(m_window->status()->text(), QString("kept"));
}

void TestSnippets::examplesCompileAndRun_data()
{
    QTest::addColumn<QString>("control");
    for (const char *c : {"mMessageBoxTypes", "mMessageBoxwithButtons", "mMessageBoxButtonsCoding", "mInputBox",
                          "mSumCalculator", "mDeclaringVariables"})
        QTest::newRow(c) << QString(c);
}

void TestSnippets::examplesCompileAndRun()
{
    QFETCH(QString, control);
    const QString code = insert(control); // into the start-up text, caret in the empty line
    ScriptedHost host;
    NullSink sink;
    qxRun command(sink, true);
    vbs::Engine engine;
    engine.setHost(&host);
    QVERIFY(engine.addObject("qxCmd", &command, true));
    QVERIFY2(engine.addCode(rewriteScript(code)), qPrintable(engine.error().description));
    QVERIFY2(engine.run("Main"), qPrintable(engine.error().description));
}

QTEST_MAIN(TestSnippets)
#include "tst_snippets.moc"
