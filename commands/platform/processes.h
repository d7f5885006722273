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

// Starts the command line detached and returns the process id; the window style is
// applied to the program's first window when it appears, without waiting for it.
Failure start(const QString &commandLine, WindowStyle style, qint64 &pid);

// The same for a program with its arguments, already split.
Failure startProgram(const QStringList &program, WindowStyle style, qint64 &pid);

} // namespace platform::processes
