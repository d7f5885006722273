#pragma once

#include <QStringList>
#include <functional>

#include "dispatch.h"

namespace vbs { class Context; }

// What the WScript object of one host is given: the console host (vbsrun) and the window
// share the object and differ in these.
struct WScriptSetup {
    QString scriptPath;    // ScriptName and ScriptFullName; empty: the editor's text
    QString scriptName;    // ScriptName when there is no file
    QStringList arguments; // the script's command line: "/name:value" arguments are named
    // The standard streams; Empty where the host has none (the window).
    vbs::Value stdIn, stdOut, stdErr;
    // Echo's output: a line on the console, a message box in the window (the host's MsgBox
    // when this is empty). False with the context's error when it fails.
    std::function<bool(vbs::Context &, const QString &)> echo;
    bool interactive = true;
};

// The script host's WScript object: Echo, Quit, Sleep, Arguments (with Named and Unnamed),
// the script's and the host's names, the standard streams, Interactive, Timeout,
// CreateObject and GetObject.
class WScriptObject : public vbs::Object {
public:
    explicit WScriptObject(WScriptSetup setup);
    ~WScriptObject() override;

    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

    bool quitRequested() const { return m_quit; }
    int exitCode() const { return m_exitCode; }
    // False in batch mode: then Echo shows nothing.
    bool interactive() const { return m_setup.interactive; }
    // The time limit in seconds as WScript.Timeout reads it (0: none).
    void setTimeoutSeconds(int seconds) { m_timeout = seconds; }

    static inline const QString HostName = QStringLiteral("Windows Script Host");
    static inline const QString HostVersion = QStringLiteral("5.8");

private:
    WScriptSetup m_setup;
    vbs::Value m_arguments;
    bool m_quit = false;
    int m_exitCode = 0;
    int m_timeout = 0;
};
