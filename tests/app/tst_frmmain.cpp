#include <QtTest>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "fakedesktop.h"
#include "frmmain.h"
#include "txtcode.h"

namespace {
const QString HomePage = QStringLiteral("https://vornix.example.org/");

// The widget that Tab moves to: the next one in the chain that takes focus by Tab.
QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}
} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsAsDesigned();
    void startupTextAndCaret();
    void newCommandTextAndCaret();
    void newButtonHasFocusAndReactsToSpace();
    void statusClearsWhenTimerFires();
    void everyEditStartsTimer();
    void startingTimerRestartsPeriod();
    void menuTree();
    void menuItemsHaveNoShortcuts();
    void exitButtonOpensPageAndEnds();
    void closeRequestOpensPageAndEnds();
    void fileExitEndsWithoutPage();
    void fileNewIsNewCommand();

private:
    FakeDesktop *m_desktop = nullptr;
    FrmMain *m_window = nullptr;
};

void TestFrmMain::init()
{
    m_desktop = new FakeDesktop;
    m_window = new FrmMain(*m_desktop, HomePage);
}

void TestFrmMain::cleanup()
{
    delete m_window;
    delete m_desktop;
}

void TestFrmMain::controlsAsDesigned()
{
    QCOMPARE(m_window->windowTitle(), QString("Vornix Coder"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->windowIcon().availableSizes().value(0), QSize(48, 48));
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize()); // not resizable by dragging

    struct Button { const char *name; const char *caption; QColor colour; };
    for (const Button &b : {Button{"btnExecute", "&Execute", QColor(128, 255, 128)},
                            Button{"btnNew", "&New", QColor(128, 128, 255)},
                            Button{"btnExit", "E&xit", QColor(255, 128, 128)}}) {
        auto *button = m_window->findChild<QPushButton *>(b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), QString(b.caption));
        QCOMPARE(button->palette().color(QPalette::Button), b.colour);
        QCOMPARE(button->size(), QSize(121, 33)); // 1815 x 495 twips
    }
    QLabel *status = m_window->findChild<QLabel *>("status");
    QVERIFY(status);
    QCOMPARE(status->palette().color(QPalette::Window), QColor(255, 192, 255));
    QCOMPARE(status->font().pointSizeF(), 9.75);
    TxtCode *editor = m_window->findChild<TxtCode *>("txtCode");
    QVERIFY(editor);
    QCOMPARE(editor->accessibleName(), QString("Code editor"));
    QCOMPARE(editor->font().family(), QString("Courier New"));
    QCOMPARE(editor->font().pointSizeF(), 9.75);
    QCOMPARE(editor->palette().color(QPalette::Base), QColor(255, 192, 255));
    QCOMPARE(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(m_window->findChild<QTimer *>("Timer1"));

    // Tab order: New, Execute, Exit, then the editor.
    QCOMPARE(nextTabStop(m_window->findChild<QPushButton *>("btnNew")),
             static_cast<QWidget *>(m_window->findChild<QPushButton *>("btnExecute")));
    QCOMPARE(nextTabStop(m_window->findChild<QPushButton *>("btnExecute")),
             static_cast<QWidget *>(m_window->findChild<QPushButton *>("btnExit")));
    QCOMPARE(nextTabStop(m_window->findChild<QPushButton *>("btnExit")),
             static_cast<QWidget *>(editor));
    QCOMPARE(nextTabStop(editor), static_cast<QWidget *>(m_window->findChild<QPushButton *>("btnNew")));
}

void TestFrmMain::startupTextAndCaret()
{
    QCOMPARE(m_window->txtCode()->text(), QString("Sub Main()\r\n\r\nEnd Sub\r\n"));
    QCOMPARE(m_window->txtCode()->text().size(), 23);
    QCOMPARE(m_window->txtCode()->selStart(), 12);
    QCOMPARE(m_window->status()->text(), QString("Status:"));
    QVERIFY(m_window->timer1()->isActive());
}

void TestFrmMain::newCommandTextAndCaret()
{
    m_window->txtCode()->setText("something else");
    m_window->newCode();
    QCOMPARE(m_window->txtCode()->text(), QString("Sub Main()\r\n\r\nEnd Sub"));
    QCOMPARE(m_window->txtCode()->text().size(), 21);
    QCOMPARE(m_window->txtCode()->selStart(), 12);
}

void TestFrmMain::newButtonHasFocusAndReactsToSpace()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QWidget *btnNew = m_window->findChild<QPushButton *>("btnNew");
    QCOMPARE(QApplication::focusWidget(), btnNew);
    m_window->txtCode()->setText("x");
    QTest::keyClick(btnNew, Qt::Key_Space);
    QCOMPARE(m_window->txtCode()->text(), FrmMain::NewText);
}

void TestFrmMain::statusClearsWhenTimerFires()
{
    QTimer *timer = m_window->timer1();
    QCOMPARE(timer->interval(), 3000);
    QVERIFY(timer->isSingleShot());
    timer->start(20);
    QTRY_COMPARE(m_window->status()->text(), QString());
    QVERIFY(!timer->isActive());
}

void TestFrmMain::everyEditStartsTimer()
{
    QTimer *timer = m_window->timer1();
    timer->stop();
    m_window->status()->setText("message");
    m_window->txtCode()->setSelStart(12);
    m_window->txtCode()->setSelText("x");
    QVERIFY(timer->isActive());
    timer->stop();
    m_window->newCode();
    QVERIFY(timer->isActive());
    timer->stop();
    QTest::keyClicks(m_window->txtCode(), "y");
    QVERIFY(timer->isActive());
    // The tick clears the text but leaves the colour alone.
    QPalette palette = m_window->status()->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    m_window->status()->setPalette(palette);
    timer->setInterval(10);
    timer->start();
    QTRY_COMPARE(m_window->status()->text(), QString());
    QCOMPARE(m_window->status()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void TestFrmMain::startingTimerRestartsPeriod()
{
    QTimer *timer = m_window->timer1();
    timer->setInterval(1000);
    m_window->writeStatus("first");
    QTest::qWait(600);
    m_window->writeStatus("second");
    QTest::qWait(600); // past the first start's period, within the second's
    QCOMPARE(m_window->status()->text(), QString("second"));
    QTRY_COMPARE(m_window->status()->text(), QString());
}

void TestFrmMain::menuTree()
{
    struct Entry { QString name, caption; };
    const QList<QPair<Entry, QList<Entry>>> expected = {
        {{"mFile", "&File"}, {{"mExecute", "&Execute Code"}, {"mFileNew", "&New Code"},
                              {"mFileOpen", "&Open..."}, {"mFileSave", "&Save"}, {"mFileSaveAs", "Save &As..."},
                              {"mLine1", ""}, {"mFileExit", "&Exit"}}},
        {{"mnuRun", "&Run"}, {{"mAccessibilityOptions", "&Accessibility Options"},
                              {"mAddRemoveProgram", "Add or &Remove Program"},
                              {"mDisplayProperties", "&Display Properties"},
                              {"mWindowsFirewall", "&Windows Firewall"},
                              {"mAddHardwareWizard", "Add &Hardware Wizard"},
                              {"mInternetProperties", "&Internet Properties"},
                              {"mRegionalLanguageOptions", "Regional and &Language Options"},
                              {"mGameController", "&Game Controller"},
                              {"mMouseProperties", "&Mouse Properties"},
                              {"mSoundProperties", "S&ound Properties"},
                              {"mNetworkConnections", "Network &Connections"},
                              {"mUserAccounts", "&User Accounts"},
                              {"mSystemProperties", "System &Properties"},
                              {"mDateTimeProperties", "Date and &Time Properties"}}},
        {{"mExamples", "&Examples"}, {{"mMessageBoxTypes", "&Message Box Types"},
                                      {"mMessageBoxwithButtons", "&Message Box with Buttons"},
                                      {"mMessageBoxButtonsCoding", "&Message Box Buttons Coding"},
                                      {"mInputBox", "&Input Box"},
                                      {"mSumCalculator", "&Sum Calculator"},
                                      {"mDeclaringVariables", "&Declaring Variables"}}},
        {{"mMoreCommands", "&More Commands"}, {{"mFocusApplication", "&Focus Application"},
                                               {"mSendKeys", "&Send Keys"}, {"mRun", "&Run"},
                                               {"mShell", "&Shell"},
                                               {"mDeleteFile", "&Kill (Delete a File)"},
                                               {"mRenameFile", "&Rename a File"},
                                               {"mCopyFile", "&Copy a File"},
                                               {"mGetFileLength", "&Get File Length"},
                                               {"mMakeDirectory", "&Make Directory"}}},
        {{"mAbout", "&About"}, {{"mAboutProgrammer", "About &Programmer"},
                                {"mAboutProduct", "&About Vornix Coder"}, {"mLine2", ""},
                                {"mVisitWebsite", "&Visit Website"}}},
    };
    const QList<QAction *> top = m_window->menuBar()->actions();
    QCOMPARE(top.size(), expected.size());
    int controls = 0;
    for (int m = 0; m < top.size(); ++m) {
        QMenu *menu = top[m]->menu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), expected[m].first.name);
        QCOMPARE(menu->title(), expected[m].first.caption);
        ++controls;
        QList<QAction *> items = menu->actions();
        // The recent files show only once there are some (none in a fresh window).
        items.removeIf([](QAction *a) { return !a->isVisible(); });
        QCOMPARE(items.size(), expected[m].second.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->objectName(), expected[m].second[i].name);
            QCOMPARE(items[i]->isSeparator(), expected[m].second[i].caption.isEmpty());
            if (!items[i]->isSeparator())
                QCOMPARE(items[i]->text(), expected[m].second[i].caption);
            QVERIFY(items[i]->isEnabled() && items[i]->isVisible() && !items[i]->isCheckable());
            ++controls;
        }
    }
    QCOMPARE(controls, 45);
}

void TestFrmMain::menuItemsHaveNoShortcuts()
{
    // Only the file items have the shortcuts every editor has.
    const QHash<QString, QString> fileKeys{
        {"mFileOpen", "Ctrl+O"}, {"mFileSave", "Ctrl+S"}, {"mFileSaveAs", "Ctrl+Shift+S"}};
    for (QAction *action : m_window->findChildren<QAction *>())
        QCOMPARE(action->shortcut().toString(), fileKeys.value(action->objectName()));
}

void TestFrmMain::exitButtonOpensPageAndEnds()
{
    QSignalSpy ended(m_window, &FrmMain::programEnded);
    m_window->findChild<QPushButton *>("btnExit")->click();
    QCOMPARE(m_desktop->pages, QStringList{HomePage});
    QCOMPARE(m_desktop->owners.value(0), quintptr(m_window->winId()));
    QCOMPARE(ended.count(), 1);
}

void TestFrmMain::closeRequestOpensPageAndEnds()
{
    QSignalSpy ended(m_window, &FrmMain::programEnded);
    m_window->show();
    QVERIFY(m_window->close()); // never refused
    QCOMPARE(m_desktop->pages, QStringList{HomePage});
    QCOMPARE(ended.count(), 1);
}

void TestFrmMain::fileExitEndsWithoutPage()
{
    QSignalSpy ended(m_window, &FrmMain::programEnded);
    m_window->menuItem("mFileExit")->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(m_desktop->pages.isEmpty());
}

void TestFrmMain::fileNewIsNewCommand()
{
    m_window->txtCode()->setText("abc");
    m_window->menuItem("mFileNew")->trigger();
    QCOMPARE(m_window->txtCode()->text(), FrmMain::NewText);
    QCOMPARE(m_window->txtCode()->selStart(), 12);
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
