#pragma once

#include "dispatch.h"

// WshShell.CreateShortcut. A .lnk shortcut is kept as what the Linux desktop launches: a
// desktop entry beside it with the same name and .desktop for .lnk (Startup and Desktop
// shortcuts then start and show as on Windows); a .url one is an internet shortcut file as
// Windows writes it. Both read back their fields when they exist, and Save writes them.
namespace wshshortcut {

// The shortcut object for the path; a raise (5) for a name that is neither .lnk nor .url.
vbs::Object *create(vbs::Context &cx, const QString &path);

} // namespace wshshortcut
