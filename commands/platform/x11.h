#pragma once

#include <QList>
#include <QString>

#include "failure.h"

// The one connection to the X server that keystrokes and window commands use: libxdo for
// XTest input, Xlib for window properties. On a Wayland desktop this is XWayland: every X11
// window is reachable, a native Wayland window is not.
namespace platform::x11 {

struct WindowInfo {
    unsigned long id = 0;
    QString title;
    qint64 pid = 0;
};

// Loaded with the X11 module (libvornix-x11.so) on first use, so that the programs start
// without Xlib and libxdo.
class Connection {
public:
    virtual ~Connection() = default;

    virtual void typeText(const QString &text) = 0;
    // Whether the keyboard layout has a key for the character. A character without one is
    // typed through a key borrowed for the moment, which needs time for the window to read it.
    virtual bool hasKey(QChar c) = 0;
    virtual void typeBorrowedKey(QChar c) = 0;
    virtual void sendChord(const QString &chord) = 0; // "ctrl+alt+F4"
    virtual void sync() = 0;
    virtual void bell() = 0;
    // Takes up a keymap that changed under us: under XWayland the compositor hands the
    // keymap of whichever keyboard typed last (ours among them) to the X server.
    virtual void reloadKeymap() = 0;
    // The X keysym name of a character ("a", "plus", "U20AC").
    virtual QString keysymName(QChar c) = 0;

    // Mapped top-level application windows, in stacking order from the bottom.
    virtual QList<WindowInfo> windows() = 0;
    virtual unsigned long activeWindow() = 0;
    // Brings the window to the front with the keyboard focus: through the window manager
    // where it supports _NET_ACTIVE_WINDOW, else by raising and focusing it directly.
    virtual void activate(unsigned long window) = 0;
    virtual void minimize(unsigned long window) = 0;
    virtual void maximize(unsigned long window) = 0;
    virtual bool windowManagerActivates() = 0;
};

// The module's entry point: a new connection to the display that DISPLAY names, or null.
using ConnectEntry = Connection *(*)();
inline constexpr char ModuleSymbol[] = "vornixX11Connect";

// The shared connection, opened on first use; null when no X display is reachable.
Connection *connection();
Failure noDisplay();

} // namespace platform::x11
