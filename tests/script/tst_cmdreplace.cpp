#include <QtTest>

#include "cmdreplace.h"

class TestCmdReplace : public QObject {
    Q_OBJECT
private slots:
    void oneLine_data();
    void oneLine();
    void wholeTexts();
    void tableOrder_data();
    void tableOrder();
    void tableIsSixteenRowsInOrder();
    void joining_data();
    void joining();
    void joinedLinesMapBack();
};

void TestCmdReplace::oneLine_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("result");
    QTest::newRow("indented") << "SendKeys" << "qxCmd.qxSendKeys" << "    SendKeys \"%{F4}\"" << "qxCmd.qxSendKeys \"%{F4}\"";
    QTest::newRow("lower case, trailing blanks") << "SendKeys" << "qxCmd.qxSendKeys" << "sendkeys \"1234\"   " << "qxCmd.qxSendKeys \"1234\"";
    QTest::newRow("rename") << "Rename" << "qxCmd.qxRename" << "rename \"c:\\abc.txt\" , \"xyz.txt\"" << "qxCmd.qxRename \"c:\\abc.txt\" , \"xyz.txt\"";
    QTest::newRow("parenthesis follows") << "Shell" << "qxCmd.qxShell" << "Shell(\"CALC.EXE\")" << "qxCmd.qxShell(\"CALC.EXE\")";
    QTest::newRow("after an assignment") << "Shell" << "qxCmd.qxShell" << "ReturnValue = Shell(\"CALC.EXE\")" << "ReturnValue = Shell(\"CALC.EXE\")";
    QTest::newRow("tab is not trimmed") << "Beep" << "qxCmd.qxBeep" << "\tBeep" << "\tBeep";
    QTest::newRow("word alone") << "Beep" << "qxCmd.qxBeep" << "Beep" << "qxCmd.qxBeep";
    QTest::newRow("word alone, blanks around") << "Beep" << "qxCmd.qxBeep" << "  Beep  " << "qxCmd.qxBeep";
    QTest::newRow("comment") << "Kill" << "qxCmd.qxKill" << "'Kill \"x\"" << "'Kill \"x\"";
    QTest::newRow("prefix, no word boundary") << "run" << "qxCmd.Run" << "Runner = 2" << "qxCmd.Runner = 2";
    QTest::newRow("Instr inside InstrRev") << "Instr" << "qxCmd.qxInstr" << "InstrRev x" << "qxCmd.qxInstrRev x";
    QTest::newRow("shorter than the word") << "SendKeys" << "qxCmd.qxSendKeys" << "Send" << "Send";
    QTest::newRow("Shellfish") << "Shell" << "qxCmd.qxShell" << "Shellfish = 1" << "qxCmd.qxShellfish = 1";
    QTest::newRow("replacement holds the word") << "run" << "qxCmd.Run" << "run run" << "qxCmd.Run run";
    QTest::newRow("after a colon") << "Beep" << "qxCmd.qxBeep" << "x = 1 : Beep" << "x = 1 : Beep";
    QTest::newRow("inside a string") << "Kill" << "qxCmd.qxKill" << "MsgBox \"Kill\"" << "MsgBox \"Kill\"";
}

void TestCmdReplace::oneLine()
{
    QFETCH(QString, word);
    QFETCH(QString, replacement);
    QFETCH(QString, line);
    QFETCH(QString, result);
    QCOMPARE(cmdReplace(line, word, replacement), result + "\r\n");
}

void TestCmdReplace::wholeTexts()
{
    QCOMPARE(cmdReplace(QString(), "Beep", "qxCmd.qxBeep"), QString());
    QCOMPARE(cmdReplace("Sub Main()\r\n  Beep\r\nEnd Sub", "Beep", "qxCmd.qxBeep"),
             QString("Sub Main()\r\nqxCmd.qxBeep\r\nEnd Sub\r\n"));
    // A text that already ends in CR LF gains a second one; nothing is joined or dropped.
    QCOMPARE(cmdReplace("a\r\n\r\nb\r\n", "x", "y"), QString("a\r\n\r\nb\r\n\r\n"));
    // Lone LF and CR do not end lines: only the very first characters are tested.
    QCOMPARE(cmdReplace("Beep\nBeep\rBeep", "Beep", "qxCmd.qxBeep"), QString("qxCmd.qxBeep\nBeep\rBeep\r\n"));
    QCOMPARE(cmdReplace("x\nBeep", "Beep", "qxCmd.qxBeep"), QString("x\nBeep\r\n"));
    // The arguments are taken by value: the caller's text is unchanged.
    const QString mine = "Beep";
    cmdReplace(mine, "Beep", "qxCmd.qxBeep");
    QCOMPARE(mine, QString("Beep"));
}

void TestCmdReplace::tableOrder_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("rewritten");
    QTest::newRow("InstrRev") << "  InstrRev \"a\", \"b\"" << "qxCmd.qxInstrRev \"a\", \"b\"";
    QTest::newRow("Instr") << "Instr \"a\", \"b\"" << "qxCmd.qxInstr \"a\", \"b\"";
    QTest::newRow("abc is the placeholder") << "abc = 5" << "qxCmd.qxInstrRev = 5";
    QTest::newRow("ABC in any case") << "  aBc" << "qxCmd.qxInstrRev";
    QTest::newRow("FileCopy") << "FileCopy \"d:\\myfile.bmp\", \"c:\\myFile.bmp\"" << "qxCmd.qxCopyFile \"d:\\myfile.bmp\", \"c:\\myFile.bmp\"";
    QTest::newRow("CopyFile") << "CopyFile \"d:\\myfile.bmp\", \"c:\\myFile.bmp\"" << "qxCmd.qxCopyFile \"d:\\myfile.bmp\", \"c:\\myFile.bmp\"";
    QTest::newRow("run first") << "run \"winword.exe\"" << "qxCmd.Run \"winword.exe\"";
    QTest::newRow("Chdir") << "ChDir \"x\"" << "qxCmd.qxChdir \"x\"";
    QTest::newRow("function use stays") << "msgbox filelen(\"c:\\windows\\notepad.exe\")" << "msgbox filelen(\"c:\\windows\\notepad.exe\")";
}

void TestCmdReplace::tableOrder()
{
    QFETCH(QString, line);
    QFETCH(QString, rewritten);
    // Sixteen calls, each adding one CR LF at the end.
    QCOMPARE(rewriteScript(line), rewritten + QString("\r\n").repeated(16));
}

void TestCmdReplace::tableIsSixteenRowsInOrder()
{
    QCOMPARE(QString(commandWords[0].word), QString("run"));
    QCOMPARE(QString(commandWords[13].word), QString("InstrRev"));
    QCOMPARE(QString(commandWords[14].word), QString("Instr"));
    QCOMPARE(QString(commandWords[15].word), QString("ABC"));
    QCOMPARE(QString(commandWords[15].replacement), QString("qxCmd.qxInstrRev"));
    QCOMPARE(int(std::size(commandWords)), 16);
}

void TestCmdReplace::joining_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("joined");
    QTest::newRow("indentation stays") << "x = a & _\r\n    b" << "x = a&    b";
    QTest::newRow("blank after underscore") << "x = a & _ \r\nb" << "x = a&b";
    QTest::newRow("two blanks after underscore") << "x = a & _  \r\nb" << "x = a & _  \r\nb";
    QTest::newRow("no blank before ampersand") << "x = a& _\r\nb" << "x = a& _\r\nb";
    QTest::newRow("tab") << "x = a &\t_\r\nb" << "x = a &\t_\r\nb";
    QTest::newRow("after plus") << "x = a + _\r\nb" << "x = a + _\r\nb";
    QTest::newRow("after comma") << "f a, _\r\nb" << "f a, _\r\nb";
    QTest::newRow("lone LF") << "x = a & _\nb" << "x = a & _\nb";
    QTest::newRow("three lines") << "x = a & _\r\nb & _\r\nc" << "x = a&b&c";
    QTest::newRow("second pass sees the first's result") << "x  & _ \r\n _\r\ny" << "x&y";
}

void TestCmdReplace::joining()
{
    QFETCH(QString, code);
    QFETCH(QString, joined);
    QCOMPARE(joinContinuations(code), joined);
    QList<int> lines;
    QCOMPARE(joinContinuations(code, &lines), joined);
}

void TestCmdReplace::joinedLinesMapBack()
{
    QList<int> lines;
    const QString joined = joinContinuations("a\r\nx = b & _\r\n  c & _\r\n  d\r\ne\r\n", &lines);
    QCOMPARE(joined, QString("a\r\nx = b&  c&  d\r\ne\r\n"));
    QCOMPARE(lines, (QList<int>{1, 2, 5, 6}));
    // A joined continuation line does not start a line any more, so it is not rewritten.
    QCOMPARE(rewriteScript("x = 1 & _\r\nBeep").left(10), QString("x = 1&Beep"));
}

QTEST_APPLESS_MAIN(TestCmdReplace)
#include "tst_cmdreplace.moc"
