#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QKeyEvent>
#include <QShortcut>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "boxes.h"
#include "desktop.h"
#include "focusreturn.h"
#include "layout.h"
#include "menubar.h"
#include "ownwindows.h"
#include "scriptdocument.h"
#include "snippets.h"
#include "statuslabel.h"
#include "txtcode.h"
#include "wshshell.h"
#include "x11window.h"

namespace {

const QColor FormBackground(255, 192, 255);

void paintBackground(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QColor &colour)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    paintBackground(button, QPalette::Button, colour);
    return button;
}

// The first local file among dropped URLs.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            return url.toLocalFile();
    return QString();
}

bool isStopKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Escape || key->key() == Qt::Key_Pause || key->key() == Qt::Key_Cancel;
}

// What inserting a snippet needs of the editor: the editor itself knows nothing of snippets.
class SnippetTarget : public snippets::Editor {
public:
    explicit SnippetTarget(TxtCode &editor) : m_editor(editor) {}
    void replaceSelection(const QString &text) override { m_editor.setSelText(text); }

private:
    TxtCode &m_editor;
};

// The items that change the editor's text or start a run: not taken while a script runs.
const char *const EditingItems[] = {"mExecute", "mFileNew", "mFileOpen", "mRecent1", "mRecent2",
                                    "mRecent3", "mRecent4", "mRecent5"};

} // namespace

FrmMain::FrmMain(platform::Desktop &desktop, const QString &homePage, Session *session, const QString &fileName,
                 QWidget *parent)
    : QMainWindow(parent), m_desktop(desktop), m_homePage(homePage)
{
    setObjectName(QStringLiteral("frmMain"));
    // What the commands ask about our own windows: SendKeys lets them take keys meant for
    // them, AppActivate's wait waits for us to be the active program.
    platform::ownwindows::install({[] { return QGuiApplication::focusWindow() != nullptr; },
                                   [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }});
    setWindowTitle(Title);
    setWindowIcon(QIcon(QStringLiteral(":/vornix/icon48.png")));
    // A fixed dialog frame: title bar and close box, no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    m_sc1.setLanguage(QStringLiteral("VBScript"));
    m_sc1.setTimeout(10000);
    m_sc1.setHost(&m_scriptHost);
    m_sc1.registerClass(qxRun::ClassId, [this] { return new qxRun(*this, false); });
    m_sc1.registerClass(WshShell::ClassId, [] { return new WshShell; });
    m_scriptHost.whileRunning = [this] { return pollRun(); };
    createControls();
    m_document = new ScriptDocument(m_txtCode, this, session, {StartupText, NewText});
    createMenus();
    createConnections();
    connectFileItems();
    setTabOrder();
    applyStartupSizing();
    startDocument(fileName);
    setAcceptDrops(true);
    x11window::skipTaskbar(this);
}

void FrmMain::startDocument(const QString &fileName)
{
    // A file named on the command line comes first; else what the last session left.
    if (!fileName.isEmpty()) {
        m_document->leftOver(true);
        QTimer::singleShot(0, this, [this, fileName] { m_document->open(fileName); });
    } else if (const std::optional<Session::Snapshot> left = m_document->leftOver(false)) {
        m_document->restore(*left);
    }
    showRecentFiles();
}

void FrmMain::connectFileItems()
{
    connect(menuItem(QStringLiteral("mFileOpen")), &QAction::triggered, this, [this] {
        if (!refusedWhileRunning())
            m_document->openChosen();
    });
    connect(menuItem(QStringLiteral("mFileSave")), &QAction::triggered, m_document, &ScriptDocument::save);
    connect(menuItem(QStringLiteral("mFileSaveAs")), &QAction::triggered, m_document, &ScriptDocument::saveAs);
    for (int i = 1; i <= Session::RecentCount; ++i) {
        QAction *item = menuItem(QStringLiteral("mRecent%1").arg(i));
        connect(item, &QAction::triggered, this, [this, item] {
            if (!refusedWhileRunning())
                m_document->open(item->data().toString());
        });
    }
    connect(m_document, &ScriptDocument::fileNameChanged, this, &FrmMain::showFileName);
    connect(m_document, &ScriptDocument::recentFilesChanged, this, &FrmMain::showRecentFiles);
    connect(m_document, &ScriptDocument::saved, this, [this](const QString &fileName) {
        setStatusColor(StatusColor::Blue);
        writeStatus(tr("Saved %1").arg(QFileInfo(fileName).fileName()));
    });
}

void FrmMain::showFileName(const QString &fileName)
{
    // The title stays the program's name; an open file's name follows it.
    setWindowTitle(fileName.isEmpty() ? Title : Title + QStringLiteral(" - ") + QFileInfo(fileName).fileName());
}

void FrmMain::showRecentFiles()
{
    const QStringList files = m_document->recentFiles();
    for (int i = 1; i <= Session::RecentCount; ++i) {
        QAction *item = menuItem(QStringLiteral("mRecent%1").arg(i));
        const QString file = files.value(i - 1);
        item->setVisible(!file.isEmpty());
        item->setData(file);
        // "&1 report.vbs": the number is the access key; an ampersand in a name is shown.
        QString name = QFileInfo(file).fileName();
        item->setText(QStringLiteral("&%1 %2").arg(i).arg(name.replace(QLatin1Char('&'), QLatin1String("&&"))));
        item->setToolTip(file);
    }
    menuItem(QStringLiteral("mLine3"))->setVisible(!files.isEmpty());
}

void FrmMain::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    paintBackground(client, QPalette::Window, FormBackground);
    setCentralWidget(client);

    m_txtCode = new TxtCode(client);
    QFont courier(QStringLiteral("Courier New"));
    courier.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    courier.setPointSizeF(9.75);
    courier.setWeight(QFont::Normal);
    m_txtCode->setFont(courier);
    paintBackground(m_txtCode, QPalette::Base, FormBackground);
    m_txtCode->setText(StartupText);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(StatusInterval);

    m_btnExit = makeButton(client, "btnExit", tr("E&xit"), QColor(255, 128, 128));
    m_btnExecute = makeButton(client, "btnExecute", tr("&Execute"), QColor(128, 255, 128));
    m_btnNew = makeButton(client, "btnNew", tr("&New"), QColor(128, 128, 255));

    m_status = new StatusLabel(QStringLiteral("Status:"), client);
    m_status->setObjectName(QStringLiteral("status"));
    paintBackground(m_status, QPalette::Window, FormBackground);
    QFont sans(QStringLiteral("Microsoft Sans Serif"));
    sans.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")});
    sans.setPointSizeF(9.75);
    sans.setWeight(QFont::Normal);
    m_status->setFont(sans);

    const frmmain_layout::Controls design = frmmain_layout::designTime();
    m_txtCode->setGeometry(design.txtCode);
    m_btnExecute->setGeometry(design.btnExecute);
    m_btnNew->setGeometry(design.btnNew);
    m_btnExit->setGeometry(design.btnExit);
    m_status->setGeometry(design.status);

    // The status timer runs from the start, so "Status:" clears three seconds in.
    m_timer1->start();
}

void FrmMain::createMenus()
{
    m_menuItems = buildMenuBar(menuBar());
}

void FrmMain::createConnections()
{
    connect(m_txtCode, &TxtCode::changed, m_timer1, qOverload<>(&QTimer::start));
    connect(m_timer1, &QTimer::timeout, this, [this] {
        if (m_run.isRunning()) { // the message stays, and still tells the run a command wrote it
            m_tickDeferred = true;
            return;
        }
        m_status->setMessage(QString());
        m_timer1->stop();
    });
    // F5 runs the script, as Execute does.
    auto *run = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(run, &QShortcut::activated, this, &FrmMain::RunCode);
    // Enter presses a focused button, as Space does (Qt gives Enter to buttons in dialogs only).
    for (QPushButton *button : {m_btnExecute, m_btnNew, m_btnExit})
        button->installEventFilter(this);
    connect(m_btnExecute, &QPushButton::clicked, this, &FrmMain::RunCode);
    connect(m_btnNew, &QPushButton::clicked, this, &FrmMain::newCode);
    connect(m_btnExit, &QPushButton::clicked, this, &FrmMain::exitButton);
    connect(menuItem(QStringLiteral("mExecute")), &QAction::triggered, this, &FrmMain::RunCode);
    connect(menuItem(QStringLiteral("mFileNew")), &QAction::triggered, this, &FrmMain::newCode);
    connect(menuItem(QStringLiteral("mFileExit")), &QAction::triggered, this, &FrmMain::endProgram);
    connect(menuItem(QStringLiteral("mAboutProgrammer")), &QAction::triggered, &m_about, &AboutDialogs::showAboutProgrammer);
    // The about dialogs have no owner: when one goes, this window is the active one again.
    connect(&m_about, &AboutDialogs::dialogClosed, this, [this] {
        if (!m_ending)
            FocusReturn(this);
    });
    connect(menuItem(QStringLiteral("mAboutProduct")), &QAction::triggered, &m_about, &AboutDialogs::showAbout);
    connect(menuItem(QStringLiteral("mVisitWebsite")), &QAction::triggered, this, [this] { m_about.visitWebsite(this); });
    for (const snippets::Snippet &snippet : snippets::all()) {
        connect(menuItem(QString::fromLatin1(snippet.menuControl)), &QAction::triggered, this, [this, &snippet] {
            if (!refusedWhileRunning())
                m_txtCode->asOneEdit([&] {
                    SnippetTarget target(*m_txtCode);
                    snippets::insert(snippet, target);
                });
        });
    }
}

void FrmMain::setTabOrder()
{
    QWidget::setTabOrder(m_btnNew, m_btnExecute);
    QWidget::setTabOrder(m_btnExecute, m_btnExit);
    QWidget::setTabOrder(m_btnExit, m_txtCode);
    m_status->setFocusPolicy(Qt::NoFocus);
    m_btnNew->setFocus();
}

void FrmMain::applyStartupSizing()
{
    m_txtCode->setSelStart(BodyPosition);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins margins = frameMargins();
    const QRect outer = frmmain_layout::startupGeometry(screen->geometry(), margins);
    setFixedSize(outer.size().shrunkBy(margins));
    move(outer.topLeft());
    m_sizedForFrame = margins;
    applyLayout();
}

QMargins FrmMain::frameMargins() const
{
    const QRect inner = geometry(), outer = frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void FrmMain::applyLayout()
{
    const QSize outer = frameGeometry().size().expandedTo(size());
    const frmmain_layout::Controls controls = frmmain_layout::forWindowSize(outer);
    m_txtCode->setGeometry(controls.txtCode);
    m_btnExit->setGeometry(controls.btnExit);
    m_btnNew->setGeometry(controls.btnNew);
    m_btnExecute->setGeometry(controls.btnExecute);
    m_status->setGeometry(controls.status);
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!isMinimized())
        applyLayout();
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Escape or Break stops a running script, unless a box of the script's has the keys.
        if (m_run.isRunning() && isStopKey(key) && !QApplication::activeModalWidget()) {
            m_stopRequested = true;
            return true;
        }
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && !(key->modifiers() & ~Qt::KeypadModifier)) {
            button->animateClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FrmMain::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Show && !m_activatedOnce) {
        // Kept off the task bar, the window is not made active by every window manager on
        // its own: ask as a task bar would, once it is mapped.
        m_activatedOnce = true;
        QTimer::singleShot(0, this, [this] { x11window::activate(this); });
    }
    // A window manager adds its frame only once the window is mapped; the outer size and
    // position are then set again, once, with the frame counted. Later the user's own
    // moves are left alone.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() && !m_frameSettled) {
        if (frameMargins() != m_sizedForFrame) {
            m_frameSettled = true;
            applyStartupSizing();
        }
    }
    return handled;
}

void FrmMain::writeStatus(const QString &message)
{
    m_status->setMessage(message);
    m_timer1->start();
}

void FrmMain::RunCode()
{
    // A script that lets events through (a message box, DoEvents) must not have its engine
    // reset under it by a second run.
    if (refusedWhileRunning())
        return;
    setRunning(true);
    m_run.RunCode();
    setRunning(false);
}

bool FrmMain::refusedWhileRunning()
{
    if (!m_run.isRunning())
        return false;
    QApplication::beep();
    return true;
}

void FrmMain::setRunning(bool running)
{
    m_stopRequested = false;
    m_runningShown = false;
    m_txtCode->setReadOnly(running);
    for (const char *name : EditingItems)
        menuItem(QString::fromLatin1(name))->setEnabled(!running);
    for (const snippets::Snippet &snippet : snippets::all())
        menuItem(QString::fromLatin1(snippet.menuControl))->setEnabled(!running);
    if (running) {
        m_tickDeferred = false;
        m_runClock.start();
        qApp->installEventFilter(this);
        return;
    }
    qApp->removeEventFilter(this);
    if (std::exchange(m_tickDeferred, false))
        m_timer1->start(); // the message of the run clears as if its tick came now
}

bool FrmMain::pollRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // After a moment, the status line says that the script runs and how to stop it,
    // unless a command has written a message of this run there.
    if (!m_runningShown && m_runClock.elapsed() >= 300 && !timerRunning()) {
        m_runningShown = true;
        setStatusColor(StatusColor::Red);
        m_status->setMessage(RunningText);
    }
    return std::exchange(m_stopRequested, false);
}

QString FrmMain::codeText() const
{
    return m_txtCode->text();
}

void FrmMain::setStatusColor(StatusColor color)
{
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::WindowText, color == StatusColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 255));
    m_status->setPalette(palette);
}

void FrmMain::setStatusText(const QString &text)
{
    m_status->setMessage(text);
}

bool FrmMain::timerRunning() const
{
    return m_timer1->isActive() || m_tickDeferred;
}

void FrmMain::setTimerRunning(bool running)
{
    m_tickDeferred = false;
    if (running)
        m_timer1->start();
    else
        m_timer1->stop();
}

void FrmMain::showErrorBox(const QString &text)
{
    FocusReturn focusBack(this);
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, this);
    fitTitle(box);
    box.exec();
}

void FrmMain::showErrorLine(int line)
{
    // The caret goes to the start of the line, marked until the next edit, and the editor
    // takes the focus so that the caret shows; the text is untouched, so no timer starts.
    const QStringList lines = m_txtCode->text().split(QStringLiteral("\r\n"));
    int position = 0;
    for (int i = 0; i < line - 1 && i < lines.size(); ++i)
        position += int(lines[i].size()) + 2;
    m_txtCode->setSelStart(position);
    m_txtCode->markErrorLine(qMin(line, int(lines.size())));
    m_txtCode->setFocus(Qt::OtherFocusReason);
}

void FrmMain::newCode()
{
    if (refusedWhileRunning())
        return;
    m_txtCode->setText(NewText);
    m_txtCode->setSelStart(BodyPosition);
    m_document->leaveFile();
}

void FrmMain::openHomePage()
{
    m_desktop.openPage(m_homePage, quintptr(winId()));
}

void FrmMain::exitButton()
{
    openHomePage();
    endProgram();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // A close request never refuses: whatever its cause, open the page and end.
    event->accept();
    if (m_ending)
        return;
    openHomePage();
    endProgram();
}

void FrmMain::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    // Whatever ends the program, the text is on disk first.
    m_document->keepNow();
    emit programEnded();
}

void FrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent *event)
{
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty() || refusedWhileRunning())
        return;
    event->acceptProposedAction();
    // Not from inside the drop: a box asking about unsaved changes must not hold the source.
    QTimer::singleShot(0, this, [this, file] { m_document->open(file); });
}
