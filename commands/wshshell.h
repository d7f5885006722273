#pragma once

#include "dispatch.h"

// CreateObject("WScript.Shell") for scripts: Run, Exec, SendKeys, AppActivate, Popup,
// ExpandEnvironmentStrings, Environment and CurrentDirectory, on the same platform layer
// as the command object.
class WshShell : public vbs::Object {
public:
    static inline const QString ClassId = QStringLiteral("WScript.Shell");

    QString typeName() const override { return QStringLiteral("IWshShell3"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;
};
