#pragma once

#include <functional>

#include "context.h"

// The engine's dialogs on the console: a message box prints its prompt and, when there are
// buttons to choose from and someone at a terminal, asks which (otherwise it takes the
// default button); an input box prints its prompt and reads a line; a folder is asked for
// by its path on a terminal. In batch mode (//B, or
// WScript.Interactive = False) neither prints nor reads: each takes its default at once.
// A runaway script is stopped.
class ConsoleHost : public vbs::Host {
public:
    int msgBox(vbs::Context &cx, const QString &prompt, int buttons, const QString &title) override;
    std::optional<QString> inputBox(vbs::Context &cx, const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> browseForFolder(vbs::Context &cx, const QString &title, const QString &root) override;
    bool stopRunawayScript() override { return true; }
    bool dialogTimeCounts() const override { return true; } // the limit is wall-clock here

    void setInteractive(std::function<bool()> interactive) { m_interactive = std::move(interactive); }

private:
    bool interactive() const { return !m_interactive || m_interactive(); }

    std::function<bool()> m_interactive;
};
