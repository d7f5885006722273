#pragma once

#include "dispatch.h"
#include "failure.h"

class StatusSink;

// The command object that scripts see as qxCmd: keystrokes, window activation, program
// start, beep, message processing, string search, files and the control panel. Each member
// that fails writes its message to the status sink and returns normally.
class qxRun : public vbs::Object {
public:
    // The members in the order the class publishes them.
    enum Member {
        Run = 1, qxSendKeys, qxActivateApplication, qxKill, qxShell, qxBeep, qxMkDir, qxCopyFile,
        qxChDir, qxDir, qxFileLen, qxDoEvents, qxRename, qxInstr, qxInstrRev,
    };
    static inline const QString ClassId = QStringLiteral("VornixCoder.qxRun");

    // An instance owned by its creator (the main window's qxRun1) is never deleted by the
    // engine; one made by CreateObject lives as long as scripts hold it.
    qxRun(StatusSink &status, bool ownedByCreator);

    QString typeName() const override { return QStringLiteral("qxRun"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

protected:
    void lastReferenceGone() override;

private:
    // Run: a control-panel applet by its plain name, else the command itself.
    bool runCommand(const QString &command);
    // AppActivate: a number is a process id, anything else a window title.
    platform::Failure activate(vbs::Context &cx, const vbs::Value &title, bool wait);
    // qxInstr and qxInstrRev, one body.
    bool instr(vbs::Context &cx, vbs::Args args, vbs::Value &result, bool backward);

    StatusSink &m_status;
    bool m_owned;
};
