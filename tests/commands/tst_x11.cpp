#include <QtTest>
#include <QProcess>
#include <QTemporaryDir>

#include "keys.h"
#include "windows.h"
#include "x11.h"

using namespace platform;

// Keys and window activation against real windows on a private X server, with a window
// manager (VORNIX_TEST_WM=1: openbox, which offers _NET_ACTIVE_WINDOW) or without one.
class TestX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void activateByTitle();
    void activateByProcess();
    void sendKeys();

private:
    QProcess *startProbe(const QString &title, const QString &output);
    QString activeTitle();

    QTemporaryDir m_dir;
    QProcess m_wm;
    QProcess *m_one = nullptr;
    QProcess *m_two = nullptr;
    x11::Connection *m_x = nullptr;
};

QProcess *TestX11::startProbe(const QString &title, const QString &output)
{
    auto *p = new QProcess(this);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    p->setProcessEnvironment(env);
    p->start(KEYPROBE, {title, m_dir.filePath(output)});
    return p;
}

QString TestX11::activeTitle()
{
    const unsigned long active = m_x->activeWindow();
    for (const x11::WindowInfo &w : m_x->windows())
        if (w.id == active)
            return w.title;
    return QString();
}

void TestX11::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (the test command runs the tests under Xvfb)");
    m_x = x11::connection();
    QVERIFY(m_x);
    if (qEnvironmentVariableIntValue("VORNIX_TEST_WM")) {
        if (QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("openbox is not installed");
        m_wm.start("openbox", {});
        QTRY_VERIFY_WITH_TIMEOUT(m_x->windowManagerActivates(), 10000);
    } else {
        QVERIFY2(!m_x->windowManagerActivates(), "a window manager runs, but this run wants none");
    }
    m_one = startProbe("Key Probe One", "one.txt");
    m_two = startProbe("Key Probe Two", "two.txt");
    auto shown = [this] {
        int n = 0;
        for (const x11::WindowInfo &w : m_x->windows())
            n += w.title.startsWith("Key Probe");
        return n;
    };
    QTRY_COMPARE_WITH_TIMEOUT(shown(), 2, 10000);
}

void TestX11::cleanupTestCase()
{
    for (QProcess *p : {m_one, m_two})
        if (p) {
            p->kill();
            p->waitForFinished();
        }
    if (m_wm.state() != QProcess::NotRunning) {
        m_wm.terminate();
        m_wm.waitForFinished();
    }
}

void TestX11::activateByTitle()
{
    QVERIFY(!windows::activateByTitle("key probe one")); // exact, any letter case
    QTRY_COMPARE(activeTitle(), QString("Key Probe One"));
    QVERIFY(!windows::activateByTitle("Key Probe T"));   // the beginning
    QTRY_COMPARE(activeTitle(), QString("Key Probe Two"));
    QVERIFY(!windows::activateByTitle("One"));           // the end
    QTRY_COMPARE(activeTitle(), QString("Key Probe One"));
    QCOMPARE(windows::activateByTitle("No Such Window").number, 5);
}

void TestX11::activateByProcess()
{
    QVERIFY(!windows::activateByProcess(m_two->processId(), 2000));
    QTRY_COMPARE(activeTitle(), QString("Key Probe Two"));
    QVERIFY(!windows::activateByProcess(m_one->processId(), 2000));
    QTRY_COMPARE(activeTitle(), QString("Key Probe One"));
    QCOMPARE(windows::activateByProcess(999999, 200).number, 5);
}

void TestX11::sendKeys()
{
    QVERIFY(!windows::activateByTitle("Key Probe Two"));
    QTRY_COMPARE(activeTitle(), QString("Key Probe Two"));
    QTest::qWait(200); // the probe's line edit takes the focus when its window is active
    QList<keys::Stroke> strokes;
    // Shifted characters, braces, a repeat count, a modifier group, a key the US layout
    // lacks, then Enter.
    const QString text = QString::fromUtf8("Hello, World!{+}{{}{}}{x 3}+(abc)\u00df\u20ac{LEFT}{BS}~");
    QVERIFY(!keys::parse(text, strokes));
    QVERIFY(!keys::send(strokes));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.filePath("two.txt")), 10000);
    QFile out(m_dir.filePath("two.txt"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(out.readAll()), QString::fromUtf8("Hello, World!+{}xxxABC\u20ac"));
}

QTEST_GUILESS_MAIN(TestX11)
#include "tst_x11.moc"
