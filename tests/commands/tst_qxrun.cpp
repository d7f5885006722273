#include <QtTest>
#include <QTemporaryDir>

#include "convert.h"
#include "engine.h"
#include "qxrun.h"
#include "statussink.h"

using namespace vbs;

namespace {

class RecordingSink : public StatusSink {
public:
    void writeStatus(const QString &message) override { messages << message; }
    QStringList messages;
};

} // namespace

// The command object as scripts reach it: through an engine, as qxCmd and by bare names.
class TestQxRun : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void membersInOrder();
    void failureMessages_data();
    void failureMessages();
    void secondFailureWins();
    void resultsStartEmptyOnFailure();
    void fileCommandsWork();
    void chdirAppliesToLaterRuns();
    void instrExamples_data();
    void instrExamples();
    void instrFailuresReachTheScript_data();
    void instrFailuresReachTheScript();
    void beepWritesNothing();
    void createObjectGivesOwnInstance();
    void wrongArgumentCountIsAScriptError();

private:
    QString eval(const QString &expression);
    bool run(const QString &body);

    QTemporaryDir *m_dir = nullptr;
    QString m_oldCwd;
    RecordingSink m_sink;
    Engine *m_engine = nullptr;
    qxRun *m_qx = nullptr;
};

void TestQxRun::init()
{
    m_dir = new QTemporaryDir;
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_sink.messages.clear();
    m_engine = new Engine;
    m_qx = new qxRun(m_sink, true);
    m_engine->registerClass(qxRun::ClassId, [this] { return new qxRun(m_sink, false); });
    QVERIFY(m_engine->addObject("qxCmd", m_qx, true));
}

void TestQxRun::cleanup()
{
    delete m_engine;
    delete m_qx;
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

bool TestQxRun::run(const QString &body)
{
    return m_engine->addCode(body);
}

QString TestQxRun::eval(const QString &expression)
{
    if (!m_engine->addCode("result_ = " + expression))
        return "error " + QString::number(m_engine->error().number);
    m_engine->addCode("Function Get_() : Get_ = result_ : End Function");
    Value r;
    m_engine->run("Get_", {}, &r);
    return displayText(r);
}

void TestQxRun::membersInOrder()
{
    const QStringList names{"Run", "qxSendKeys", "qxActivateApplication", "qxKill", "qxShell", "qxBeep",
                            "qxMkDir", "qxCopyFile", "qxChDir", "qxDir", "qxFileLen", "qxDoEvents",
                            "qxRename", "qxInstr", "qxInstrRev"};
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(m_qx->memberId(names[i]), i + 1);
        QCOMPARE(m_qx->memberId(names[i].toUpper()), i + 1);
    }
    QCOMPARE(m_qx->memberId("qxChdir"), int(qxRun::qxChDir)); // as the command word writes it
    QCOMPARE(m_qx->memberId("qxFoo"), NoMember);
}

void TestQxRun::failureMessages_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("Kill") << "qxCmd.qxKill \"none.txt\"" << "Can't delete the file - File not found";
    QTest::newRow("Kill wildcard") << "qxKill \"none*.txt\"" << "Can't delete the file - File not found";
    QTest::newRow("MkDir exists") << "qxMkDir \".\"" << "Path/File access error";
    QTest::newRow("MkDir no parent") << "qxMkDir \"a/b/c\"" << "Path not found";
    QTest::newRow("CopyFile") << "qxCopyFile \"none\", \"x\"" << "File not found";
    QTest::newRow("ChDir") << "qxChDir \"none\"" << "Path not found";
    QTest::newRow("FileLen") << "x = qxFileLen(\"none\")" << "File not found";
    QTest::newRow("Rename missing") << "qxRename \"none.txt\", \"x.txt\"" << "Could not Rename File - File not found";
    QTest::newRow("Rename with a path") << "qxRename \"" + QString(__FILE__) + "\", \"../x\"" << "Could not Rename File - Bad file name or number";
    QTest::newRow("Shell") << "x = qxShell(\"no-such-program-xyz\")" << "File not found";
    QTest::newRow("Run other program") << "qxCmd.Run \"no-such-program-xyz\"" << "Can't Run Application - File Not Found no-such-program-xyz";
    QTest::newRow("Run keeps blanks") << "Run \" Mouse \"" << "Can't Run Application - File Not Found  Mouse ";
    QTest::newRow("Run empty") << "Run \"\"" << "Can't Run Application - File Not Found ";
    QTest::newRow("Run misspelt") << "Run \"Mouse Properties\"" << "Can't Run Application - File Not Found Mouse Properties";
    QTest::newRow("SendKeys malformed") << "qxSendKeys \"{NOPE}\"" << "Can't Send Keys - Invalid procedure call or argument";
    QTest::newRow("SendKeys unmatched") << "qxSendKeys \"abc}\"" << "Can't Send Keys - Invalid procedure call or argument";
    QTest::newRow("Dir") << "x = qxDir(\"\")" << "Invalid procedure call or argument";
}

void TestQxRun::failureMessages()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    QVERIFY2(run(code + "\r\nafter = 1"), qPrintable(m_engine->error().description));
    QCOMPARE(m_sink.messages, QStringList{message});
    QCOMPARE(eval("after"), QString("1")); // the script went on
}

void TestQxRun::secondFailureWins()
{
    QVERIFY(run("qxKill \"a\"\r\nqxChDir \"b\""));
    QCOMPARE(m_sink.messages.size(), 2);
    QCOMPARE(m_sink.messages.last(), QString("Path not found"));
}

void TestQxRun::resultsStartEmptyOnFailure()
{
    QCOMPARE(eval("TypeName(qxShell(\"no-such-program-xyz\")) & \"/\" & qxShell(\"no-such-program-xyz\")"), QString("Double/0"));
    QCOMPARE(eval("TypeName(qxFileLen(\"none\")) & \"[\" & qxFileLen(\"none\") & \"]\""), QString("String[]"));
}

void TestQxRun::fileCommandsWork()
{
    QFile f("data.bin");
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(1536));
    f.close();
    QVERIFY(run("qxMkDir \"sub\"\r\nqxCopyFile \"data.bin\", \"sub/copy.bin\"\r\n"
                "qxRename \"sub/copy.bin\", \"renamed.bin\""));
    QVERIFY(m_sink.messages.isEmpty());
    QCOMPARE(eval("qxFileLen(\"sub/renamed.bin\")"), QString("1.5KB"));
    QCOMPARE(eval("qxDir(\"sub/*.bin\")"), QString("renamed.bin"));
    QVERIFY(run("qxKill \"sub/*.bin\""));
    QVERIFY(!QFile::exists("sub/renamed.bin"));
    QVERIFY(m_sink.messages.isEmpty());
}

void TestQxRun::chdirAppliesToLaterRuns()
{
    QDir().mkdir("later");
    QVERIFY(run("qxChDir \"later\""));
    m_engine->reset();
    QVERIFY(m_engine->addObject("qxCmd", m_qx, true));
    QVERIFY(run("qxMkDir \"made\""));
    QVERIFY(QFileInfo::exists(m_dir->filePath("later/made")));
}

void TestQxRun::instrExamples_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("forward");
    QTest::addColumn<QString>("backward");
    QTest::newRow("text, sought") << "\"abcabc\", \"b\"" << "2" << "5";
    QTest::newRow("0, text, sought") << "0, \"abcabc\", \"b\"" << "2" << "5";
    QTest::newRow("3, text, sought") << "3, \"abcabc\", \"b\"" << "5" << "5";
    QTest::newRow("letter case ignored") << "\"ABC\", \"b\"" << "2" << "2";
    QTest::newRow("backslashes") << "\"a\\b\\c\", \"\\\"" << "2" << "4";
    QTest::newRow("number as text") << "12345, \"3\"" << "3" << "3";
    QTest::newRow("empty third argument") << "2, \"abc\", \"\"" << "0" << "0";
    QTest::newRow("empty sought text") << "\"abc\", \"\"" << "1" << "3";
    QTest::newRow("numeric text as start") << "\"2\", \"abab\", \"b\"" << "2" << "4";
}

void TestQxRun::instrExamples()
{
    QFETCH(QString, args);
    QFETCH(QString, forward);
    QFETCH(QString, backward);
    QCOMPARE(eval("qxInstr(" + args + ")"), forward);
    QCOMPARE(eval("qxCmd.qxInstrRev(" + args + ")"), backward);
    QCOMPARE(eval("TypeName(qxInstr(" + args + "))"), QString("Long"));
    QVERIFY(m_sink.messages.isEmpty());
}

void TestQxRun::instrFailuresReachTheScript_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("number");
    QTest::newRow("start below 1") << "qxInstr(-1, \"abc\", \"b\")" << 5;
    QTest::newRow("start not a number") << "qxInstr(\"x\", \"abc\", \"b\")" << 13;
}

void TestQxRun::instrFailuresReachTheScript()
{
    QFETCH(QString, call);
    QFETCH(int, number);
    QVERIFY(!run("x = " + call));
    QCOMPARE(m_engine->error().number, number);
    QVERIFY(m_sink.messages.isEmpty()); // not trapped: the command object writes nothing
}

void TestQxRun::beepWritesNothing()
{
    QVERIFY(run("qxBeep\r\nqxCmd.qxBeep"));
    QVERIFY(m_sink.messages.isEmpty());
}

void TestQxRun::createObjectGivesOwnInstance()
{
    QCOMPARE(eval("TypeName(CreateObject(\"VornixCoder.qxRun\"))"), QString("qxRun"));
    QVERIFY(run("Set q = CreateObject(\"vornixcoder.QXRUN\")\r\nq.qxKill \"none\"\r\nSet q = Nothing"));
    QCOMPARE(m_sink.messages, QStringList{"Can't delete the file - File not found"});
}

void TestQxRun::wrongArgumentCountIsAScriptError()
{
    QVERIFY(!run("qxKill"));
    QCOMPARE(m_engine->error().number, 450);
    QVERIFY(!run("qxCopyFile \"a\""));
    QCOMPARE(m_engine->error().number, 450);
    QVERIFY(!run("qxActivateApplication \"x\", True, 3"));
    QCOMPARE(m_engine->error().number, 450);
}

QTEST_GUILESS_MAIN(TestQxRun)
#include "tst_qxrun.moc"
