#pragma once

#include <QFunctionPointer>
#include <QString>

// The program's modules: code that needs libraries a program should not load at start
// (Xlib and libxdo, Wayland and D-Bus), loaded the first time a command needs it.
namespace platform::modules {

// The entry point `symbol` of the module `fileName`, found beside an installed program
// (bin/../lib/<architecture>/vornix-coder) or at `buildPath` in the build tree; null with
// the reason in `why` when neither loads. The module stays loaded for the process's life.
QFunctionPointer entry(const QString &fileName, const QString &buildPath, const char *symbol, QString *why);

} // namespace platform::modules
