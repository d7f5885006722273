#pragma once

#include <QString>

#include "wscript.h"

class ScriptControl;
namespace vbs { class Object; }

// What a run needs of the window it runs in: the editor's text, the status line (text,
// colour, and Timer1 as the flag of a message written during this run) and the error box.
class RunSurface {
public:
    enum class StatusColor { Red, Blue };

    virtual ~RunSurface() = default;
    virtual QString codeText() const = 0;
    virtual void setStatusColor(StatusColor color) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual bool timerRunning() const = 0;
    virtual void setTimerRunning(bool running) = 0;
    // A message box titled with the program's name, OK only, no icon; returns when closed.
    virtual void showErrorBox(const QString &text) = 0;
    // After an error: the 1-based line of the editor text where it happened.
    virtual void showErrorLine(int line) { Q_UNUSED(line); }
};

// The run routine: reset the engine, register the command object as qxCmd, join continued
// lines, rewrite the command words, load the text, call Main, and report success or the
// error.
class ScriptRun {
public:
    static inline const QString SuccessText = QStringLiteral("Code Executed Successfully!");
    static inline const QString CommandMarker = QStringLiteral("qxCmd.qx");

    // Each run also gets a fresh WScript object made from `wscript`.
    ScriptRun(RunSurface &surface, ScriptControl &sc1, vbs::Object *qxRun1, WScriptSetup wscript = {});

    // Returns false when the run ended on its error path, or when a run is already under
    // way (a script that processes events cannot start another run of the same engine).
    bool RunCode();
    bool isRunning() const { return m_running; }

    // The error box's text: the number, " - ", the description without "qxCmd.qx".
    static QString errorBoxText(int number, const QString &description);

private:
    bool addCommandWordCalls();

    RunSurface &m_surface;
    ScriptControl &m_sc1;
    vbs::Object *m_qxRun1;
    WScriptSetup m_wscript;
    bool m_running = false;
};
