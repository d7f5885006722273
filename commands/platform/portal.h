#pragma once

#include <QList>

#include "failure.h"
#include "keys.h"

// Keys through the desktop portal's RemoteDesktop interface (xdg-desktop-portal over
// D-Bus), the way in that GNOME and KDE offer: one session per program run, the user asked
// once for consent (and not again where the portal keeps a restore token). The D-Bus code
// is part of the Wayland module, loaded on first use.
namespace platform::portal {

// Whether the session bus is there to ask (DBUS_SESSION_BUS_ADDRESS, or the user's bus).
bool reachable();
Failure type(const QList<keys::Stroke> &strokes);

} // namespace platform::portal
