#include <QtTest>

#include "convert.h"
#include "engine.h"

using namespace vbs;

namespace {

// A host object that records what the script does with it.
class Probe : public Object {
public:
    QString typeName() const override { return QStringLiteral("Probe"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Hello", "Twice", "Bump", "Optional", "Value", "Fail"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        calls << id;
        switch (id) {
        case 1: result = Value::string(QStringLiteral("hello")); return true;
        case 2: {
            double d;
            if (args.count != 1 || !toDouble(cx, args[0], d))
                return cx.raiseUnlessPending(err::WrongArgs);
            result = Value::dbl(d * 2);
            return true;
        }
        case 3: // writes through its by-reference argument
            args[0] = Value::lng(args[0].asLong() + 1);
            return true;
        case 4:
            missing.clear();
            for (int i = 0; i < args.count; ++i)
                missing << args[i].isMissing();
            return true;
        case 5:
            if (kind & InvokeLet) {
                stored = args[args.count - 1];
                return true;
            }
            result = stored;
            return true;
        case 6:
            return cx.raise(err::InvalidCall);
        default:
            return cx.raise(err::NoSuchMember);
        }
    }
    QList<int> calls;
    QList<bool> missing;
    Value stored;

protected:
    void lastReferenceGone() override {}
};

class ScriptedHost : public Host {
public:
    int msgBox(vbs::Context &, const QString &prompt, int, const QString &) override
    {
        prompts << prompt;
        return 6; // vbYes
    }
    std::optional<QString> inputBox(vbs::Context &, const QString &prompt, const QString &, const QString &) override
    {
        prompts << prompt;
        return answer;
    }
    bool stopRunawayScript() override
    {
        ++timeoutQuestions;
        return timeoutQuestions >= stopAfter;
    }
    QStringList prompts;
    std::optional<QString> answer = QStringLiteral("typed");
    int timeoutQuestions = 0;
    int stopAfter = 1;
};

QString text(const Value &v) { return displayText(v); }

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void addCodeRunsTopLevelCode();
    void runCallsProcedureByNameInAnyCase();
    void runMissingProcedureFails();
    void resetForgetsEverything();
    void globalsSurviveBetweenAddCodeCalls();
    void compileErrorRunsNothing();
    void runtimeErrorCarriesLineAndColumn();
    void addObjectByNameAndByMembers();
    void memberErrorNamesTheCallAsWritten();
    void hostArgumentsByReferenceAndMissing();
    void hostPropertyLetAndGet();
    void languageIsVBScriptOnly();
    void dialogsGoThroughTheHost();
    void timeoutAsksTheHost();
    void timeoutCanBeExtended();
    void timeoutWithoutHostStops();
    void timeWaitingInDialogsDoesNotCount();
    void deepRecursionRaises28();
    void hugeAllocationRaises7();
    void deeplyNestedExpressionIsAnError();
    void deepTextEndsCleanly_data();
    void deepTextEndsCleanly();
    void objectsHeldByALongChainOfCallsEndCleanly();
    void memoryCapEndsTheScript_data();
    void memoryCapEndsTheScript();
    void hostIsPolledWhileTheScriptRuns();
    void endRunsClassTerminateWithinTheLimit();
};

void TestEngine::addCodeRunsTopLevelCode()
{
    Engine e;
    QVERIFY(e.addCode("x = 6 * 7"));
    Value r;
    QVERIFY(e.addCode("Function GetX() : GetX = x : End Function"));
    QVERIFY(e.run("GetX", {}, &r));
    QCOMPARE(r.asInteger(), int16_t(42));
}

void TestEngine::runCallsProcedureByNameInAnyCase()
{
    Engine e;
    QVERIFY(e.addCode("Function Add(a, b)\r\n  Add = a + b\r\nEnd Function\r\nSub Main()\r\nEnd Sub\r\n"));
    Value r;
    QVERIFY(e.run("aDD", {Value::integer(2), Value::dbl(0.5)}, &r));
    QCOMPARE(text(r), QString("2.5"));
    QVERIFY(e.run("MAIN"));
    QVERIFY(!e.run("Add", {Value::integer(1)}));
    QCOMPARE(e.error().number, 450);
}

void TestEngine::runMissingProcedureFails()
{
    Engine e;
    QVERIFY(e.addCode(""));
    QVERIFY(!e.run("Main"));
    QCOMPARE(e.error().number, 35);
    QVERIFY(e.error().description.contains("Main"));
}

void TestEngine::resetForgetsEverything()
{
    Probe probe; // registered objects outlive the engine that holds them
    Engine e;
    QVERIFY(e.addObject("probe", &probe, true));
    QVERIFY(e.addCode("Sub Main() : End Sub"));
    e.reset();
    QVERIFY(!e.run("Main"));
    // The same name can be registered again, and a second Main defined without a clash.
    QVERIFY(e.addObject("probe", &probe, true));
    QVERIFY(e.addCode("Sub Main() : End Sub"));
    QVERIFY(e.run("Main"));
}

void TestEngine::globalsSurviveBetweenAddCodeCalls()
{
    Engine e;
    QVERIFY(e.addCode("Dim counter : counter = 1"));
    QVERIFY(e.addCode("counter = counter + 1 : Sub Main : counter = counter * 10 : End Sub"));
    QVERIFY(e.run("Main"));
    QVERIFY(e.addCode("Function Get_() : Get_ = counter : End Function"));
    Value r;
    QVERIFY(e.run("Get_", {}, &r));
    QCOMPARE(text(r), QString("20"));
}

void TestEngine::compileErrorRunsNothing()
{
    Probe probe; // registered objects outlive the engine that holds them
    Engine e;
    e.addObject("probe", &probe, true);
    QVERIFY(!e.addCode("Hello\r\nx = (1 +\r\n"));
    QCOMPARE(e.error().number, 1023);
    QCOMPARE(e.error().line, 2);
    QVERIFY(probe.calls.isEmpty()); // the first line never ran
}

void TestEngine::runtimeErrorCarriesLineAndColumn()
{
    Engine e;
    QVERIFY(e.addCode("Sub Main()\r\n  Dim a\r\n    a = 1 / 0\r\nEnd Sub"));
    QVERIFY(!e.run("Main"));
    QCOMPARE(e.error().number, 11);
    QCOMPARE(e.error().description, QString("Division by zero"));
    QCOMPARE(e.error().line, 3);
    QCOMPARE(e.error().column, 5);
}

void TestEngine::addObjectByNameAndByMembers()
{
    Probe withMembers, nameOnly;
    Engine e;
    QVERIFY(e.addObject("qxCmd", &withMembers, true));
    QVERIFY(e.addObject("other", &nameOnly, false));
    QVERIFY(e.addCode("Sub Main()\r\n qxCmd.Hello\r\n hello\r\n x = TWICE(4)\r\n other.Hello\r\n If x <> 8 Then Err.Raise 5\r\nEnd Sub"));
    QVERIFY2(e.run("Main"), qPrintable(e.error().description));
    QCOMPARE(withMembers.calls, (QList<int>{1, 1, 2}));
    QCOMPARE(nameOnly.calls, (QList<int>{1}));
    // Without addMembers the bare name is nothing of the object's.
    QVERIFY(e.addCode("Sub Other() : y = Twice(1) : End Sub")); // Twice still comes from qxCmd
    e.reset();
    e.addObject("other", &nameOnly, false);
    QVERIFY(e.addCode("Sub Main() : Hello 1 : End Sub"));
    QVERIFY(!e.run("Main"));
    QCOMPARE(e.error().number, 13);
}

void TestEngine::memberErrorNamesTheCallAsWritten()
{
    Probe probe; // registered objects outlive the engine that holds them
    Engine e;
    e.addObject("qxCmd", &probe, true);
    QVERIFY(e.addCode("Sub Main()\r\n  qxCmd.qxFoo \"x\"\r\nEnd Sub"));
    QVERIFY(!e.run("Main"));
    QCOMPARE(e.error().number, 438);
    QCOMPARE(e.error().description, QString("Object doesn't support this property or method: 'qxCmd.qxFoo'"));
    QVERIFY(e.addCode("Sub Two() : qxCmd.Fail : End Sub"));
    QVERIFY(!e.run("Two"));
    QCOMPARE(e.error().number, 5);
    QCOMPARE(e.error().description, QString("Invalid procedure call or argument: 'qxCmd.Fail'"));
}

void TestEngine::hostArgumentsByReferenceAndMissing()
{
    Probe probe; // registered objects outlive the engine that holds them
    Engine e;
    e.addObject("p", &probe, true);
    QVERIFY(e.addCode("Function T()\r\n n = CLng(1) : Bump n : Bump (n) : T = n\r\n Optional 1, , 3\r\nEnd Function"));
    Value r;
    QVERIFY(e.run("T", {}, &r));
    QCOMPARE(text(r), QString("2")); // the parenthesised call passed a copy
    QCOMPARE(probe.missing, (QList<bool>{false, true, false}));
}

void TestEngine::hostPropertyLetAndGet()
{
    Probe probe; // registered objects outlive the engine that holds them
    Engine e;
    e.addObject("p", &probe, false);
    QVERIFY(e.addCode("p.Value = \"stored\" : x = p.Value & \"!\""));
    QCOMPARE(text(probe.stored), QString("stored"));
}

void TestEngine::languageIsVBScriptOnly()
{
    Engine e;
    QCOMPARE(e.language(), QString("VBScript"));
    QVERIFY(e.setLanguage("vbscript"));
    QVERIFY(!e.setLanguage("JScript"));
    QVERIFY(e.error().description.contains("JScript"));
}

void TestEngine::dialogsGoThroughTheHost()
{
    Engine e;
    ScriptedHost host;
    e.setHost(&host);
    QVERIFY(e.addCode("a = MsgBox(\"Sure?\", vbYesNo)\r\nb = InputBox(\"Name?\")\r\nMsgBox a & b"));
    QCOMPARE(host.prompts, (QStringList{"Sure?", "Name?", "6typed"}));
    host.answer.reset(); // Cancel
    QVERIFY(e.addCode("c = InputBox(\"Again?\") : MsgBox \"[\" & c & \"]\""));
    QCOMPARE(host.prompts.last(), QString("[]"));
}

void TestEngine::timeoutAsksTheHost()
{
    Engine e;
    ScriptedHost host;
    e.setHost(&host);
    e.setTimeout(100);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(e.addCode("Sub Main()\r\n  Do\r\n  Loop\r\nEnd Sub"));
    QVERIFY(!e.run("Main"));
    QCOMPARE(e.error().number, 5300);
    QCOMPARE(host.timeoutQuestions, 1);
    QVERIFY(clock.elapsed() < 5000);
}

void TestEngine::timeoutCanBeExtended()
{
    Engine e;
    ScriptedHost host;
    host.stopAfter = 3; // "go on" twice, then stop
    e.setHost(&host);
    e.setTimeout(50);
    QVERIFY(!e.addCode("On Error Resume Next\r\nDo : Loop"));
    QCOMPARE(e.error().number, 5300);
    QCOMPARE(host.timeoutQuestions, 3);
}

void TestEngine::timeoutWithoutHostStops()
{
    Engine e;
    e.setTimeout(50);
    QVERIFY(!e.addCode("While True : Wend"));
    QCOMPARE(e.error().number, 5300);
}

void TestEngine::timeWaitingInDialogsDoesNotCount()
{
    class SlowHost : public ScriptedHost {
    public:
        int msgBox(vbs::Context &cx, const QString &p, int b, const QString &t) override
        {
            QThread::msleep(150);
            return ScriptedHost::msgBox(cx, p, b, t);
        }
    } host;
    Engine e;
    e.setHost(&host);
    e.setTimeout(100);
    QVERIFY2(e.addCode("MsgBox 1 : MsgBox 2 : MsgBox 3"), qPrintable(e.error().description));
    QCOMPARE(host.timeoutQuestions, 0);
}

void TestEngine::deepRecursionRaises28()
{
    Engine e;
    QVERIFY(e.addCode("Function F(n) : F = F(n + 1) : End Function"));
    QVERIFY(!e.run("F", {Value::integer(0)}));
    QCOMPARE(e.error().number, 28);
    QCOMPARE(e.error().description, QString("Out of stack space"));
    // The engine is still usable afterwards.
    QVERIFY(e.addCode("Function G() : G = 1 : End Function"));
    QVERIFY(e.run("G"));
}

void TestEngine::hugeAllocationRaises7()
{
    Engine e;
    for (const char *code : {"s = Space(2000000000)", "s = String(2000000000, \"x\")", "ReDim a(2000000000)",
                             "Dim b() : ReDim b(50000, 50000)"}) {
        QVERIFY2(!e.addCode(code), code);
        QCOMPARE(e.error().number, 7);
    }
}

void TestEngine::deeplyNestedExpressionIsAnError()
{
    Engine e;
    const QString deep = "x = " + QString(5000, '(') + "1" + QString(5000, ')');
    QVERIFY(!e.addCode(deep));
    QCOMPARE(e.error().number, 28);
}

// Each path once drove the process into a stack overflow at a depth of its own; here it
// goes ten times as deep and ends as a result or a clean error.
void TestEngine::deepTextEndsCleanly_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("error"); // 0: runs, and x is 1
    const auto chain = [](const char *op, const char *term, int n) {
        return "x = 1" + QString(" %1 %2").arg(op, term).repeated(n) + "\r\nIf x Then x = 1\r\n";
    };
    QTest::newRow("Execute running itself") << QString("s = \"Execute s\" : Execute s") << 28;
    QTest::newRow("ExecuteGlobal running itself") << QString("s = \"ExecuteGlobal s\" : ExecuteGlobal s") << 28;
    QTest::newRow("Eval inside itself") << QString("s = \"Eval(s)\" : x = Eval(s)") << 28;
    QTest::newRow("400 000 terms of *") << chain("*", "1", 400000) << 0;
    QTest::newRow("400 000 terms of ^") << chain("^", "1", 400000) << 0;
    QTest::newRow("400 000 terms of And") << chain("And", "1", 400000) << 0;
    QTest::newRow("400 000 terms of =") << ("x = 1 = 1" + QString(" = True").repeated(400000) + "\r\nx = 1") << 0;
    QTest::newRow("400 000 terms of &") << ("y = \"a\"" + QString(" & \"a\"").repeated(400000)
                                              + "\r\nIf Len(y) = 400001 Then x = 1") << 0;
    QTest::newRow("Const of 400 000 terms") << ("Const C = 0" + QString(" + 1").repeated(400000)
                                                 + "\r\nIf C = 400000 Then x = 1") << 0;
    QTest::newRow("If condition of 400 000 terms")
        << ("If True" + QString(" And True").repeated(400000) + " Then x = 1") << 0;
    QTest::newRow("400 000 Not") << ("x = " + QString("Not ").repeated(400000) + "True") << 28;
    QTest::newRow("400 000 unary -") << ("x = " + QString("- ").repeated(400000) + "1") << 28;
    QTest::newRow("530 000 nested Ifs") << (QString("If True Then ").repeated(530000) + "x = 1") << 28;
    QTest::newRow("115 000 long member chain")
        << ("Class C\r\nPublic P\r\nSub Class_Initialize\r\nSet P = Me\r\nEnd Sub\r\nEnd Class\r\n"
            "Set o = New C\r\nx = TypeName(o" + QString(".P").repeated(115000) + ")") << 28;
    QTest::newRow("750 000 long index chain") << ("a = Array(0)\r\nx = a" + QString("(0)").repeated(750000)) << 28;
    QTest::newRow("parentheses 100 000 deep") << ("x = " + QString(100000, '(') + "1" + QString(100000, ')')) << 28;
    QTest::newRow("blocks 100 000 deep") << (QString("Do\r\n").repeated(100000) + QString("Loop\r\n").repeated(100000)) << 28;
}

void TestEngine::deepTextEndsCleanly()
{
    QFETCH(QString, code);
    QFETCH(int, error);
    Engine e;
    const bool ran = e.addCode(code);
    QCOMPARE(ran ? 0 : e.error().number, error);
    if (ran) {
        Value x;
        QVERIFY(e.addCode("Function GetX() : GetX = x : End Function"));
        QVERIFY(e.run("GetX", {}, &x));
        QCOMPARE(text(x), QString("1"));
    }
}

// Recursion far past the limit with a local object in every frame: the frames let go of
// their objects (and run Class_Terminate) one after the other on the way back.
void TestEngine::objectsHeldByALongChainOfCallsEndCleanly()
{
    Engine e;
    QVERIFY(e.addCode("Dim ended\r\nClass C\r\nSub Class_Terminate : ended = ended + 1 : End Sub\r\nEnd Class\r\n"
                      "Sub R(n)\r\nDim o : Set o = New C\r\nR n + 1\r\nEnd Sub"));
    QVERIFY(!e.run("R", {Value::integer(0)}));
    QCOMPARE(e.error().number, 28);
    Value ended;
    QVERIFY(e.addCode("Function Terminated() : Terminated = ended : End Function"));
    QVERIFY(e.run("Terminated", {}, &ended));
    QVERIFY(text(ended).toInt() > 1000);
}

void TestEngine::memoryCapEndsTheScript_data()
{
    QTest::addColumn<QString>("code");
    // Many pieces, none near the per-string or per-array limits: only the total is too much.
    QTest::newRow("strings in an array")
        << "Dim parts(2000)\r\ns = Space(1000000)\r\nFor i = 0 To 2000\r\n  parts(i) = s & i\r\nNext";
    QTest::newRow("one large array") << "ReDim a(20000000)";
    QTest::newRow("an array grown by ReDim Preserve")
        << "ReDim a(0)\r\nFor i = 1 To 100000\r\n  ReDim Preserve a(i * 200)\r\nNext";
    QTest::newRow("Split into many pieces") << "parts = Split(String(50000000, \",\"), \",\")";
    QTest::newRow("dictionary of strings")
        << "Set d = CreateObject(\"Scripting.Dictionary\")\r\nFor i = 1 To 2000\r\n  d.Add i, Space(1000000) & i\r\nNext";
}

void TestEngine::memoryCapEndsTheScript()
{
    QFETCH(QString, code);
    Engine e;
    Limits limits;
    limits.maxMemoryBytes = residentBytes() + (qint64(400) << 20);
    e.setLimits(limits);
    e.setTimeout(60000);
    QVERIFY(!e.addCode(code));
    QCOMPARE(e.error().number, 7);
    e.reset(); // what the script held goes
    QVERIFY(residentBytes() < limits.maxMemoryBytes);
}

void TestEngine::hostIsPolledWhileTheScriptRuns()
{
    // The host is asked every few tens of milliseconds, whatever the script does; its
    // answer stops the script with an error no On Error Resume Next can take.
    struct PollingHost : ScriptedHost {
        int polls = 0;
        bool poll() override { return ++polls == 5; }
    } host;
    Engine e;
    e.setHost(&host);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!e.addCode("On Error Resume Next\r\nDo\r\n  x = x + 1\r\nLoop"));
    QCOMPARE(e.error().number, 5302);
    QCOMPARE(host.polls, 5);
    QVERIFY(clock.elapsed() >= 4 * Host::PollInterval);
    QVERIFY(clock.elapsed() < 2000);
}

void TestEngine::endRunsClassTerminateWithinTheLimit()
{
    // The end of the program lets go of the globals inside the time limit of the run, so
    // that a Class_Terminate that never ends is stopped and reported like any error.
    ScriptedHost host;
    Engine e;
    e.setHost(&host);
    e.setTimeout(300);
    QVERIFY(e.addCode("Class C\r\nSub Class_Terminate\r\nDo\r\nLoop\r\nEnd Sub\r\nEnd Class\r\nSet o = New C"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!e.end());
    QCOMPARE(e.error().number, 5300);
    QVERIFY(clock.elapsed() < 2000);
    // A program that ends cleanly says so.
    Engine quiet;
    QVERIFY(quiet.addCode("Class C\r\nSub Class_Terminate\r\nx = 1\r\nEnd Sub\r\nEnd Class\r\nSet o = New C"));
    QVERIFY(quiet.end());
}

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
