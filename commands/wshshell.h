#pragma once

#include "dispatch.h"

// CreateObject("WScript.Shell") for scripts: Run, Exec, SendKeys, AppActivate, Popup,
// ExpandEnvironmentStrings, Environment, CurrentDirectory, SpecialFolders, the registry,
// CreateShortcut and LogEvent, on the same platform layer as the command object. Command
// lines and environment names are Windows' (%TEMP%, cmd /c ...), answered from Linux.
class WshShell : public vbs::Object {
public:
    static inline const QString ClassId = QStringLiteral("WScript.Shell");

    QString typeName() const override { return QStringLiteral("IWshShell3"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;
};
