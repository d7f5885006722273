#pragma once

#include <QList>
#include <QString>

#include "failure.h"

// Window activation, as AppActivate does it.
namespace platform::windows {

// The first window whose title equals the text, else one whose title begins with it, else
// one whose title ends with it (letter case ignored). Error 5 when none matches.
Failure activateByTitle(const QString &title);
// A window of the process, or of one of its children (a launcher's program). A process that
// has just been started may take a moment to show its window: up to waitMs is granted.
Failure activateByProcess(qint64 pid, int waitMs);

// The process and all its descendants, from /proc.
QList<qint64> processFamily(qint64 pid);

// Which window a title search picks from the titles given, or -1.
int pickByTitle(const QStringList &titles, const QString &title);

} // namespace platform::windows
