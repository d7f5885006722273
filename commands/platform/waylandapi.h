#pragma once

#include <QList>

#include "failure.h"
#include "keys.h"
#include "wayland.h"

// What the Wayland module (libvornix-wayland.so) offers the commands: a table of functions
// behind one C entry point.
namespace platform::wayland {

struct ModuleApi {
    bool (*connected)(); // the compositor named by WAYLAND_DISPLAY answered
    bool (*canType)();
    bool (*canListWindows)();
    void (*type)(const QList<keys::Stroke> *strokes, Failure *result);
    void (*windows)(QList<Toplevel> *out);
    bool (*activate)(int index);
    // Keys through the desktop portal's RemoteDesktop interface (GNOME, KDE).
    void (*portalType)(const QList<keys::Stroke> *strokes, Failure *result);
    // AppActivate by title through KWin's scripting interface (KDE Plasma).
    bool (*kwinAvailable)();
    void (*kwinActivate)(const QString *title, Failure *result);
};

using ModuleEntry = const ModuleApi *(*)();
inline constexpr char ModuleSymbol[] = "vornixWaylandModule";

} // namespace platform::wayland
