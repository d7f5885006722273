// vbsrun --execute: the Execute button's pipeline on a file, with the status line on stderr
// and the error box's text on stdout.
#include <QString>
#include <cstdio>

#include "consolehost.h"
#include "qxrun.h"
#include "wshshell.h"
#include "runcode.h"
#include "scriptcontrol.h"
#include "statussink.h"

namespace {

class ConsoleSurface : public RunSurface, public StatusSink {
public:
    explicit ConsoleSurface(const QString &code) : m_code(code) {}

    QString codeText() const override { return m_code; }
    void setStatusColor(StatusColor) override {}
    void setStatusText(const QString &text) override
    {
        if (text == m_status)
            return;
        m_status = text;
        std::fprintf(stderr, "status: %s\n", text.toUtf8().constData());
        std::fflush(stderr);
    }
    bool timerRunning() const override { return m_timer; }
    void setTimerRunning(bool running) override { m_timer = running; }
    void showErrorBox(const QString &text) override
    {
        std::fprintf(stdout, "%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    }
    // A command's failure: its message, and the timer started as the status line's does.
    void writeStatus(const QString &message) override
    {
        m_status.clear(); // the same message again is a new message
        setStatusText(message);
        m_timer = true;
    }

private:
    QString m_code;
    QString m_status = QStringLiteral("Status:");
    bool m_timer = false;
};

// The editor holds CR LF line breaks, whatever the file has.
QString asEditorText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

} // namespace

int executeFile(const QString &path, const QString &text, qint64 timeoutSeconds)
{
    ConsoleSurface surface(asEditorText(text));
    ConsoleHost host;
    qxRun qxRun1(surface, true); // outlives the engine that holds it
    ScriptControl sc1;
    sc1.setLanguage(QStringLiteral("VBScript"));
    sc1.setTimeout(timeoutSeconds > 0 ? timeoutSeconds * 1000 : 10000);
    sc1.setHost(&host);
    sc1.registerClass(qxRun::ClassId, [&surface] { return new qxRun(surface, false); });
    sc1.registerClass(WshShell::ClassId, [] { return new WshShell; });
    WScriptSetup wscript;
    wscript.scriptPath = path;
    ScriptRun run(surface, sc1, &qxRun1, wscript);
    return run.RunCode() ? 0 : 1;
}
