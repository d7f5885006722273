#include "runcode.h"

#include <QList>

#include "cmdreplace.h"
#include "scriptcontrol.h"
#include "wscript.h"

ScriptRun::ScriptRun(RunSurface &surface, ScriptControl &sc1, vbs::Object *qxRun1, WScriptSetup wscript)
    : m_surface(surface), m_sc1(sc1), m_qxRun1(qxRun1), m_wscript(std::move(wscript))
{
}

QString ScriptRun::errorBoxText(int number, const QString &description)
{
    QString cleaned = description;
    cleaned.remove(CommandMarker, Qt::CaseSensitive);
    return QString::number(number) + QStringLiteral(" - ") + cleaned;
}

// The command words are rewritten only at line starts; called as functions anywhere else
// (ReturnValue = Shell("CALC.EXE"), MsgBox FileLen(f)) they reach the command object too,
// where the script and the language have no procedure or variable of that name.
bool ScriptRun::addCommandWordCalls()
{
    const QString prefix = QStringLiteral("qxCmd.");
    for (const CommandWord &row : commandWords) {
        const QString replacement = QString::fromLatin1(row.replacement);
        if (replacement.startsWith(prefix) && !m_sc1.AddAlias(QString::fromLatin1(row.word), QStringLiteral("qxCmd"),
                                                              replacement.mid(prefix.size())))
            return false;
    }
    return m_sc1.AddAlias(QStringLiteral("InstrRev"), QStringLiteral("qxCmd"), QStringLiteral("qxInstrRev"));
}

bool ScriptRun::RunCode()
{
    if (m_running)
        return false;
    m_running = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_running};

    m_surface.setTimerRunning(false);
    m_surface.setStatusColor(RunSurface::StatusColor::Red);
    m_sc1.Reset();
    QList<int> originalLines;
    auto *wscript = new WScriptObject(m_wscript);
    const vbs::Value holdWScript = vbs::Value::object(wscript);
    wscript->setTimeoutSeconds(int(m_sc1.Timeout() / 1000));
    bool ok = m_sc1.AddObject(QStringLiteral("qxCmd"), m_qxRun1, true) && addCommandWordCalls()
              && m_sc1.AddObject(QStringLiteral("WScript"), wscript, false)
              && m_sc1.AddCode(rewriteScript(m_surface.codeText(), &originalLines))
              && m_sc1.Run(QStringLiteral("Main"));
    // WScript.Quit ends the run as a success.
    if (!ok && wscript->quitRequested() && m_sc1.error().Number == vbs::err::ScriptQuit)
        ok = true;
    if (ok) {
        if (!m_surface.timerRunning()) {
            m_surface.setStatusColor(RunSurface::StatusColor::Blue);
            m_surface.setStatusText(SuccessText);
            m_surface.setTimerRunning(true);
        }
        return true;
    }
    const ScriptControl::Error error = m_sc1.error();
    // The user who stopped the script needs no box to say so; the status line says it.
    if (error.Number != vbs::err::UserStop)
        m_surface.showErrorBox(errorBoxText(error.Number, error.Description));
    m_surface.setStatusColor(RunSurface::StatusColor::Red);
    m_surface.setStatusText(error.Description);
    // The description stays until the next edit, even if a command had started the timer.
    m_surface.setTimerRunning(false);
    if (error.Line > 0 && !originalLines.isEmpty())
        m_surface.showErrorLine(originalLines.value(error.Line - 1, originalLines.last()));
    return false;
}
