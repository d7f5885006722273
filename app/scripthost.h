#pragma once

#include <functional>

#include "context.h"

class QWidget;

// The engine's dialogs as Qt dialogs owned by the main window: MsgBox, InputBox, and the
// question whether to stop a script that has run past its time limit.
class ScriptHost : public vbs::Host {
public:
    explicit ScriptHost(QWidget *owner) : m_owner(owner) {}

    int msgBox(vbs::Context &cx, const QString &prompt, int buttons, const QString &title) override;
    std::optional<QString> inputBox(vbs::Context &cx, const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> browseForFolder(vbs::Context &cx, const QString &title, const QString &root) override;
    bool stopRunawayScript() override;
    // Sleep keeps the window painting and answering; a script that sleeps is not stuck.
    void idle(int milliseconds) override;
    bool sleepCounts() const override { return false; }
    // What the window does while a script runs; true stops the script.
    std::function<bool()> whileRunning;
    bool poll() override { return whileRunning && whileRunning(); }

private:
    QWidget *m_owner;
};
