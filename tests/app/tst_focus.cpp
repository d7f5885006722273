// The main window as the active window on a real X server: after start-up, after a box it
// opened closes, and Enter on a focused button. Runs with no window manager, with openbox
// and with xfwm4 (VORNIX_TEST_WM), while another program's window is open.
#include <QtTest>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <csignal>
#include <unistd.h>
#include <xcb/xcb.h>

#include "boxanswerer.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "txtcode.h"

namespace {

xcb_connection_t *xcb()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(xcb(), xcb_intern_atom(xcb(), 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

// The window that has the keyboard: the window manager's active window where one runs,
// else the X input focus.
xcb_window_t activeWindow(bool managed)
{
    xcb_window_t result = XCB_WINDOW_NONE;
    if (managed) {
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(xcb())).data;
        xcb_get_property_reply_t *r = xcb_get_property_reply(
            xcb(), xcb_get_property(xcb(), 0, screen->root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1), nullptr);
        if (r && xcb_get_property_value_length(r) == 4)
            result = *static_cast<xcb_window_t *>(xcb_get_property_value(r));
        free(r);
    } else {
        xcb_get_input_focus_reply_t *r = xcb_get_input_focus_reply(xcb(), xcb_get_input_focus(xcb()), nullptr);
        if (r)
            result = r->focus;
        free(r);
    }
    return result;
}

// A window manager announces itself with a window named on the root window.
bool windowManagerRuns()
{
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(xcb())).data;
    xcb_get_property_reply_t *r = xcb_get_property_reply(
        xcb(), xcb_get_property(xcb(), 0, screen->root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr);
    bool runs = false;
    if (r && xcb_get_property_value_length(r) == 4) {
        const xcb_window_t check = *static_cast<xcb_window_t *>(xcb_get_property_value(r));
        xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(xcb(), xcb_get_geometry(xcb(), check), nullptr);
        runs = g != nullptr; // the property outlives its manager; the window does not
        free(g);
    }
    free(r);
    return runs;
}

} // namespace

class TestFocus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void activeAfterStartAndAfterBoxes();
    void scriptWaitsActivatesAndTypes();

private:
    QTemporaryDir m_dir;
    QProcess m_wm;
    QProcess m_other;
    bool m_managed = false;
};

void TestFocus::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !xcb())
        QSKIP("needs an X server (the test command runs the tests under Xvfb)");
    const QString wm = qEnvironmentVariable("VORNIX_TEST_WM");
    if (!wm.isEmpty()) {
        if (QStandardPaths::findExecutable(wm).isEmpty())
            QSKIP(qPrintable(wm + " is not installed"));
        // In a process group of its own, so that it ends with everything it started.
        m_wm.setChildProcessModifier([] { ::setpgid(0, 0); });
        if (wm == QLatin1String("xfwm4")) // it keeps its settings on a session bus
            m_wm.start("dbus-run-session", {"--", "xfwm4", "--compositor=off"});
        else
            m_wm.start(wm, {});
        m_managed = true;
        QTRY_VERIFY_WITH_TIMEOUT(windowManagerRuns(), 10000);
    }
    // Another program's window, active before ours starts.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    m_other.setProcessEnvironment(env);
    m_other.start(KEYPROBE, {"Another Program", m_dir.filePath("other.txt")});
    QVERIFY(m_other.waitForStarted());
    QTest::qWait(1500); // its window maps and takes the focus
}

void TestFocus::cleanupTestCase()
{
    if (!xcb())
        return; // skipped: no X server
    if (m_wm.state() != QProcess::NotRunning) {
        ::kill(-pid_t(m_wm.processId()), SIGTERM);
        m_wm.waitForFinished(3000);
    }
    // The next test on this X server may want another window manager, or none.
    QTRY_VERIFY_WITH_TIMEOUT(!windowManagerRuns(), 5000);
    for (QProcess *p : {&m_other, &m_wm}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
        }
    }
}

void TestFocus::activeAfterStartAndAfterBoxes()
{
    FakeDesktop desktop;
    FrmMain window(desktop, "https://vornix.example.org/");
    window.show();
    const xcb_window_t id = xcb_window_t(window.winId());
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(m_managed), id, 5000);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window.findChild<QPushButton *>("btnNew")));

    // A message box of the script, answered: the window and its focused button are back.
    window.txtCode()->setText("Sub Main()\r\n  MsgBox \"hi\"\r\nEnd Sub");
    auto *execute = window.findChild<QPushButton *>("btnExecute");
    execute->setFocus();
    BoxAnswerer answerer;
    QTest::keyClick(execute, Qt::Key_Return); // Enter presses the focused button
    QTRY_COMPARE(answerer.boxes.size(), 1);
    QTRY_COMPARE(window.status()->text(), QString("Code Executed Successfully!"));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(m_managed), id, 5000);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(execute));

    // The error box too.
    window.txtCode()->setText("Sub Main()\r\n  x = 1 / 0\r\nEnd Sub");
    window.RunCode();
    QTRY_COMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes.last().text, QString("11 - Division by zero"));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(m_managed), id, 5000);
}

// What a user's script does with another program: start it, wait for its window with
// WScript.Sleep, activate it by title and type into it.
void TestFocus::scriptWaitsActivatesAndTypes()
{
    FakeDesktop desktop;
    FrmMain window(desktop, "https://vornix.example.org/");
    window.show();
    const QString out = m_dir.filePath("typed.txt");
    window.txtCode()->setText(QString("Sub Main()\r\n"
                                      "  Shell \"%1 Target %2\"\r\n"
                                      "  WScript.Sleep 2000\r\n"
                                      "  AppActivate \"Target\"\r\n"
                                      "  SendKeys \"hello{ENTER}\"\r\n"
                                      "End Sub").arg(KEYPROBE, out));
    BoxAnswerer answerer;
    window.RunCode();
    QCOMPARE(window.status()->text(), QString("Code Executed Successfully!"));
    QVERIFY(answerer.boxes.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 5000);
    QFile typed(out);
    QVERIFY(typed.open(QIODevice::ReadOnly));
    QCOMPARE(typed.readAll(), QByteArray("hello"));
}

int main(int argc, char *argv[])
{
    // A real X server where there is one; elsewhere the test says it was skipped.
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    TestFocus test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_focus.moc"
