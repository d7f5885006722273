#pragma once

#include <QString>
#include <QStringList>

#include "failure.h"

// Starting programs, as Shell does.
namespace platform::processes {

// How the new program's first window is shown, by the classic numbers.
enum class WindowStyle { Hidden = 0, NormalFocus = 1, MinimizedFocus = 2, MaximizedFocus = 3,
                         NormalNoFocus = 4, MinimizedNoFocus = 6 };

// Splits a command line into program and arguments: blanks separate, double quotes group
// (a quoted program path may hold blanks).
QStringList splitCommandLine(const QString &commandLine);

// The program to start for a name: the name itself when it is a path or on PATH, else the
// desktop's counterpart of a well-known Windows program (CALC.EXE, notepad, winword.exe,
// explorer, cmd, ...), matched in any letter case with or without ".exe". Empty: none.
QStringList resolveProgram(const QString &name);

// The names of the desktop's programs that stand for a well-known Windows program
// ("notepad.exe" gives gnome-text-editor, gedit, kate, ...), in any letter case, with or
// without ".exe"; empty for other names.
QStringList counterparts(const QString &windowsName);

// Starts the command line detached and returns the process id; the window style is
// applied to the program's first window when it appears, without waiting for it.
Failure start(const QString &commandLine, WindowStyle style, qint64 &pid);

// The same for a program with its arguments, already split.
Failure startProgram(const QStringList &program, WindowStyle style, qint64 &pid);

// A program started to be waited for, sharing this process's standard streams. One still
// running when the object goes is left to run.
class Child {
public:
    Child() = default;
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    // The program (already resolved) with its arguments.
    Failure start(const QStringList &program);
    // Waits at most the milliseconds; true once the program has ended.
    bool wait(int milliseconds);
    int exitCode() const { return m_exitCode; }

private:
    qint64 m_pid = 0;
    bool m_ended = false;
    int m_exitCode = 0;
};

} // namespace platform::processes
