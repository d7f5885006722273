#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>

#include "aboutdialogs.h"
#include "qxrun.h"
#include "runcode.h"
#include "scripthost.h"
#include "scriptcontrol.h"
#include "statuslabel.h"
#include "statussink.h"

class QAction;
class QLabel;
class QPushButton;
class QTimer;
class ScriptDocument;
class Session;
class TxtCode;
namespace platform { class Desktop; }

// The program's one window: the code editor, Execute / New / Exit, the status line with
// its timer, and the menu bar. The program lives exactly as long as this window.
class FrmMain : public QMainWindow, public StatusSink, private RunSurface {
    Q_OBJECT
public:
    static constexpr int StatusInterval = 3000;
    static inline const QString Title = QStringLiteral("Vornix Coder");
    static inline const QString StartupText = QStringLiteral("Sub Main()\r\n\r\nEnd Sub\r\n");
    static inline const QString NewText = QStringLiteral("Sub Main()\r\n\r\nEnd Sub");
    static constexpr int BodyPosition = 12;

    static inline const QString RunningText = QStringLiteral("Running... (Esc stops the script)");

    // With a session the editor's text is kept on disk and comes back at the next start;
    // `fileName` is a file to open at start-up instead.
    FrmMain(platform::Desktop &desktop, const QString &homePage, Session *session = nullptr,
            const QString &fileName = QString(), QWidget *parent = nullptr);

    TxtCode *txtCode() const { return m_txtCode; }
    QLabel *status() const { return m_status; }
    QTimer *timer1() const { return m_timer1; }
    QAction *menuItem(const QString &name) const { return m_menuItems.value(name); }
    ScriptControl &sc1() { return m_sc1; }
    qxRun &qxRun1() { return m_qxRun1; }
    AboutDialogs &aboutDialogs() { return m_about; }
    ScriptDocument &document() { return *m_document; }

    // Status line: a writer sets the text and starts Timer1, whose tick clears it.
    void writeStatus(const QString &message) override;

    // Runs the editor's script; a click while a script runs (and processes events) is refused.
    void RunCode();
    void newCode();

signals:
    // The program is to end now. Nothing of this window runs after it.
    void programEnded();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createConnections();
    void connectFileItems();
    void startDocument(const QString &fileName);
    void showFileName(const QString &fileName);
    void showRecentFiles();
    // While a script runs: the window repaints and answers, Escape stops the script, and
    // nothing that would change the editor's text or start another run is taken.
    bool pollRun();
    void setRunning(bool running);
    bool refusedWhileRunning();
    void setTabOrder();
    void applyStartupSizing();
    void applyLayout();
    QMargins frameMargins() const;
    void openHomePage();
    void endProgram();
    void exitButton();

    // The run routine's view of this window.
    QString codeText() const override;
    void setStatusColor(StatusColor color) override;
    void setStatusText(const QString &text) override;
    bool timerRunning() const override;
    void setTimerRunning(bool running) override;
    void showErrorBox(const QString &text) override;
    void showErrorLine(int line) override;

    platform::Desktop &m_desktop;
    QString m_homePage;
    TxtCode *m_txtCode = nullptr;
    QTimer *m_timer1 = nullptr;
    QPushButton *m_btnExit = nullptr;
    QPushButton *m_btnExecute = nullptr;
    QPushButton *m_btnNew = nullptr;
    StatusLabel *m_status = nullptr;
    QHash<QString, QAction *> m_menuItems;
    ScriptDocument *m_document = nullptr;
    QElapsedTimer m_runClock;
    bool m_stopRequested = false;
    bool m_runningShown = false;
    // Timer1 fired while a script ran: the message of this run stays until the run ends.
    bool m_tickDeferred = false;
    ScriptHost m_scriptHost{this};
    qxRun m_qxRun1{*this, true}; // registered with the engine, so it must outlive m_sc1
    ScriptControl m_sc1;
    ScriptRun m_run{*this, m_sc1, &m_qxRun1, WScriptSetup{QString(), Title, {}, {}, {}, {}, {}, true}};
    AboutDialogs m_about{m_desktop, m_homePage};
    QMargins m_sizedForFrame;
    bool m_frameSettled = false;
    bool m_activatedOnce = false;
    bool m_ending = false;
};
