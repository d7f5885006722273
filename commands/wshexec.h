#pragma once

#include <QStringList>

#include "dispatch.h"

// WshShell.Exec's object: the program's StdIn, StdOut and StdErr as text streams, Status,
// ExitCode, ProcessID and Terminate. A program still running when the script lets go of
// the object keeps running, as on Windows.
namespace wshexec {

// Starts the program (already resolved) with its arguments; null when it cannot start.
vbs::Object *start(const QStringList &program);

} // namespace wshexec
