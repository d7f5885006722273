#pragma once

#include "context.h"

// The engine's dialogs on the console: a message box prints its prompt and takes the
// default button; an input box prints its prompt and reads a line. A runaway script is
// stopped.
class ConsoleHost : public vbs::Host {
public:
    int msgBox(const QString &prompt, int buttons, const QString &title) override;
    std::optional<QString> inputBox(vbs::Context &cx, const QString &prompt, const QString &title, const QString &defaultText) override;
    bool stopRunawayScript() override { return true; }
    bool dialogTimeCounts() const override { return true; } // the limit is wall-clock here
};
