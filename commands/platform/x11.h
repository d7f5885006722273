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

class Connection {
public:
    ~Connection();

    void typeText(const QString &text);
    // Whether the keyboard layout has a key for the character. A character without one is
    // typed through a key borrowed for the moment, which needs time for the window to read it.
    bool hasKey(QChar c);
    void typeBorrowedKey(QChar c);
    void sendChord(const QString &chord); // "ctrl+alt+F4"
    void sync();
    void bell();
    // Takes up a keymap that changed under us: under XWayland the compositor hands the
    // keymap of whichever keyboard typed last (ours among them) to the X server.
    void reloadKeymap();

    // Mapped top-level application windows, in stacking order from the bottom.
    QList<WindowInfo> windows();
    unsigned long activeWindow();
    // Brings the window to the front with the keyboard focus: through the window manager
    // where it supports _NET_ACTIVE_WINDOW, else by raising and focusing it directly.
    void activate(unsigned long window);
    void minimize(unsigned long window);
    void maximize(unsigned long window);
    bool windowManagerActivates();

private:
    friend Connection *connection();
    Connection() = default;
    struct Private;
    Private *d = nullptr;
};

// The shared connection, opened on first use; null when no X display is reachable.
Connection *connection();
Failure noDisplay();
// The X keysym name of a character ("a", "plus", "U20AC").
QString keysymName(QChar c);

} // namespace platform::x11
