#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The control-panel applets that the Run command opens by plain name.
namespace platform::controlpanel {

constexpr int GroupCount = 15;

// The applet group (0 .. 14) of a name written in capital letters, or -1.
int groupOf(const QString &upperName);
// The applet file the group stands for ("access.cpl").
QString appletFile(int group);
// All accepted names, in test order (41 of them).
QStringList names();

// The desktop's settings command for the group: the panel of the running desktop
// (XDG_CURRENT_DESKTOP), or, for a group without a counterpart, the settings main window.
// `installed` says whether a program is on PATH. Empty when no settings program is there.
QStringList settingsCommand(int group, const QString &currentDesktop,
                            const std::function<bool(const QString &)> &installed);

} // namespace platform::controlpanel
