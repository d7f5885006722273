#include <QtTest>
#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "aboutdialogs.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "txtcode.h"

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void productDialogAsDesigned();
    void programmerDialogAsDesigned();
    void showingTwiceGivesOneDialog();
    void closeHidesAndTheSameComesBack();
    void closeBoxDestroysAndMenuRebuilds();
    void mainWindowStaysUsable();
    void clicksThatHideTheProgrammerDialog_data();
    void clicksThatHideTheProgrammerDialog();
    void clicksThatDoNothing_data();
    void clicksThatDoNothing();
    void homePageFromMenuAndLink();

private:
    void choose(const char *item) { m_window->menuItem(item)->trigger(); }
    FakeDesktop *m_desktop = nullptr;
    FrmMain *m_window = nullptr;
};

void TestAbout::init()
{
    m_desktop = new FakeDesktop;
    m_window = new FrmMain(*m_desktop, "https://vornix.example.org/");
    m_window->show();
}

void TestAbout::cleanup()
{
    delete m_window;
    delete m_desktop;
}

void TestAbout::productDialogAsDesigned()
{
    choose("mAboutProduct");
    FrmAbout *about = m_window->aboutDialogs().about();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QString("About Vornix Coder"));
    QCOMPARE(about->size(), QSize(476, 237)); // 7140 x 3555 twips
    QVERIFY(!about->parentWidget());
    QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(about->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(about->findChild<QLabel *>("lbl(0)")->text(), QString("Vornix Coder"));
    QCOMPARE(about->findChild<QLabel *>("lbl(0)")->palette().color(QPalette::WindowText), QColor(192, 64, 0));
    QVERIFY(about->findChild<QLabel *>("lbl(0)")->font().underline());
    QCOMPARE(about->findChild<QLabel *>("lbl(2)")->text(), QString("This product is quite free and available on the Vornix Website"));
    QCOMPARE(about->findChild<QLabel *>("lblLink")->text(), QString("vornix.example.org"));
    QCOMPARE(about->findChild<QLabel *>("lblLink")->geometry(), QRect(96, 128, 289, 25));
    QCOMPARE(about->findChild<QLabel *>("lbl(3)")->text(),
             QString("Note: Contribute on page vornix.example.org/donate if you liked this") + QString(18, ' ') + "utility software.");
    QCOMPARE(about->findChild<QLabel *>("lbl(3)")->palette().color(QPalette::WindowText), QColor(0, 192, 0));
    auto *close = about->findChild<QPushButton *>("Command1");
    QCOMPARE(close->text(), QString("Close"));
    QCOMPARE(close->geometry(), QRect(176, 192, 113, 33));
}

void TestAbout::programmerDialogAsDesigned()
{
    choose("mAboutProgrammer");
    FrmAboutProgrammer *dialog = m_window->aboutDialogs().aboutProgrammer();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("About Programmer"));
    QCOMPARE(dialog->size(), QSize(447, 202)); // 6705 x 3030 twips
    QCOMPARE(dialog->palette().color(QPalette::Window), QColor(255, 255, 128));
    QCOMPARE(dialog->windowIcon().availableSizes().value(0), QSize(32, 32));
    QCOMPARE(dialog->findChild<QLabel *>("Label1")->text(), QString("About Programmer"));
    QVERIFY(dialog->findChild<QLabel *>("lblLabel(3)")->text().startsWith("Contact #. "));
    QCOMPARE(dialog->findChild<QLabel *>("Image1")->pixmap().size(), QSize(263, 310));
    QCOMPARE(dialog->findChild<QLabel *>("Image2")->pixmap().size(), QSize(468, 60));
    QCOMPARE(dialog->findChild<QLabel *>("Image1")->geometry(), QRect(8, 56, 127, 134));
    // The title stands in front of the banner.
    const QList<QObject *> order = dialog->children();
    QVERIFY(order.indexOf(dialog->findChild<QLabel *>("Image2")) < order.indexOf(dialog->findChild<QLabel *>("Label1")));
}

void TestAbout::showingTwiceGivesOneDialog()
{
    choose("mAboutProduct");
    FrmAbout *first = m_window->aboutDialogs().about();
    choose("mAboutProduct");
    QCOMPARE(m_window->aboutDialogs().about(), first);
    int shown = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        shown += qobject_cast<FrmAbout *>(w) && w->isVisible();
    QCOMPARE(shown, 1);
    choose("mAboutProgrammer"); // both can be open together
    QVERIFY(first->isVisible() && m_window->aboutDialogs().aboutProgrammer()->isVisible());
}

void TestAbout::closeHidesAndTheSameComesBack()
{
    choose("mAboutProduct");
    FrmAbout *about = m_window->aboutDialogs().about();
    const QPoint where = about->pos();
    about->findChild<QPushButton *>("Command1")->click();
    QVERIFY(!about->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(m_window->aboutDialogs().about(), about); // hidden, not destroyed
    choose("mAboutProduct");
    QCOMPARE(m_window->aboutDialogs().about(), about);
    QVERIFY(about->isVisible());
    QCOMPARE(about->pos(), where);
}

void TestAbout::closeBoxDestroysAndMenuRebuilds()
{
    choose("mAboutProgrammer");
    QPointer<FrmAboutProgrammer> first = m_window->aboutDialogs().aboutProgrammer();
    QVERIFY(first->close());
    QTRY_VERIFY(first.isNull());
    QVERIFY(!m_window->aboutDialogs().aboutProgrammer());
    choose("mAboutProgrammer");
    QVERIFY(m_window->aboutDialogs().aboutProgrammer());
    QVERIFY(m_window->aboutDialogs().aboutProgrammer()->isVisible());
}

void TestAbout::mainWindowStaysUsable()
{
    choose("mAboutProduct");
    QVERIFY(!QApplication::activeModalWidget());
    m_window->txtCode()->setSelStart(12);
    m_window->txtCode()->setSelText("x");
    QVERIFY(m_window->txtCode()->text().contains("\r\nx\r\n"));
    choose("mGetFileLength"); // other menus still respond
    QVERIFY(m_window->txtCode()->text().contains("filelen"));
}

void TestAbout::clicksThatHideTheProgrammerDialog_data()
{
    QTest::addColumn<QString>("control");
    for (const char *c : {"Image1", "lblLabel(0)", "lblLabel(1)", "lblLabel(2)", "lblLabel(3)", ""})
        QTest::newRow(*c ? c : "background") << QString(c);
}

void TestAbout::clicksThatHideTheProgrammerDialog()
{
    QFETCH(QString, control);
    choose("mAboutProgrammer");
    FrmAboutProgrammer *dialog = m_window->aboutDialogs().aboutProgrammer();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    if (control.isEmpty())
        QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(440, 195)); // free corner
    else
        QTest::mouseClick(dialog->findChild<QWidget *>(control), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(m_window->aboutDialogs().aboutProgrammer(), dialog); // hidden, kept
}

void TestAbout::clicksThatDoNothing_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("control");
    QTest::newRow("title") << "programmer" << "Label1";
    QTest::newRow("banner") << "programmer" << "Image2";
    QTest::newRow("product name") << "product" << "lbl(0)";
    QTest::newRow("note") << "product" << "lbl(3)";
    QTest::newRow("product background") << "product" << "";
}

void TestAbout::clicksThatDoNothing()
{
    QFETCH(QString, dialog);
    QFETCH(QString, control);
    QWidget *w;
    if (dialog == "product") {
        choose("mAboutProduct");
        w = m_window->aboutDialogs().about();
    } else {
        choose("mAboutProgrammer");
        w = m_window->aboutDialogs().aboutProgrammer();
    }
    QVERIFY(QTest::qWaitForWindowExposed(w));
    if (control.isEmpty())
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(470, 230));
    else
        QTest::mouseClick(w->findChild<QWidget *>(control), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(w->isVisible());
    QVERIFY(m_desktop->pages.isEmpty());
}

void TestAbout::homePageFromMenuAndLink()
{
    const QString text = m_window->txtCode()->text();
    m_window->status()->setText("unchanged");
    choose("mVisitWebsite");
    QCOMPARE(m_desktop->pages, QStringList{"https://vornix.example.org/"});
    QCOMPARE(m_desktop->owners.value(0), quintptr(m_window->winId()));
    choose("mAboutProduct");
    FrmAbout *about = m_window->aboutDialogs().about();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QTest::mouseClick(about->findChild<QWidget *>("lblLink"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_desktop->pages, (QStringList{"https://vornix.example.org/", "https://vornix.example.org/"}));
    QCOMPARE(m_desktop->owners.value(1), quintptr(about->winId()));
    QCOMPARE(m_window->txtCode()->text(), text);
    QCOMPARE(m_window->status()->text(), QString("unchanged"));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
