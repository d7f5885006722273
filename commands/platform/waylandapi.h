#pragma once

#include <QList>

#include "failure.h"
#include "keys.h"
#include "wayland.h"

// What the Wayland module (libvornix-wayland.so) offers the commands: an object with virtual
// methods behind one C entry point, as the X11 module's Connection is.
namespace platform::wayland {

class Module {
public:
    virtual ~Module() = default;
    virtual bool connected() = 0; // the compositor named by WAYLAND_DISPLAY answered
    virtual bool canType() = 0;
    virtual bool canListWindows() = 0;
    virtual Failure type(const QList<keys::Stroke> &strokes) = 0;
    virtual QList<Toplevel> windows() = 0;
    virtual bool activate(int index) = 0;
    // Keys through the desktop portal's RemoteDesktop interface (GNOME, KDE).
    virtual Failure portalType(const QList<keys::Stroke> &strokes) = 0;
    // AppActivate by title through KWin's scripting interface (KDE Plasma).
    virtual bool kwinAvailable() = 0;
    virtual Failure kwinActivate(const QString &title) = 0;
};

using ModuleEntry = Module *(*)();
inline constexpr char ModuleSymbol[] = "vornixWaylandModule";

} // namespace platform::wayland
