#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "failure.h"
#include "keys.h"

// A Wayland session's own ways in, for the windows that XWayland cannot reach: keys through
// a virtual keyboard (zwp_virtual_keyboard_v1) and the window list with activation through
// foreign toplevels (zwlr_foreign_toplevel_manager_v1). wlroots compositors (sway, Hyprland,
// labwc, Wayfire, river) offer both; GNOME and KDE offer neither.
namespace platform::wayland {

struct Toplevel {
    QString title;
    QString appId;
    bool active = false;
};

class Module;

// The compositor as the commands see it. The code that speaks Wayland (and D-Bus, for the
// portal) is a module loaded on first use, so that programs start without those libraries.
class Session {
public:
    // The compositor lets us type: it offers virtual keyboards.
    bool canType() const;
    // The compositor lists windows and activates them: it offers foreign toplevels.
    bool canListWindows() const;

    // Types the strokes into the focused window with a keymap made for them, so that every
    // character arrives whatever the user's layout. Modifiers are released after each stroke.
    Failure type(const QList<keys::Stroke> &strokes);
    // Every window the compositor shows, native and XWayland alike, oldest first.
    QList<Toplevel> windows();
    // Activates windows()[index]; false when it has gone meanwhile.
    bool activate(int index);

private:
    friend Session *session();
    explicit Session(Module *module) : m_module(module) {}
    Module *m_module;
};

// The shared connection to the compositor named by WAYLAND_DISPLAY, opened on first use;
// null outside a Wayland session or when the compositor cannot be reached.
Session *session();
// Whether the program runs in a Wayland session (WAYLAND_DISPLAY is set).
bool inSession();
// The failure where a Wayland desktop offers neither its own way in nor XWayland.
Failure noWayIn();

// Focuses a window of one of the processes through sway's IPC (SWAYSOCK), where sway runs;
// false where there is no sway or no window of theirs.
bool swayFocusProcess(const QList<qint64> &pids);

// AppActivate by title where the compositor lists no windows: through KWin's scripting on
// KDE Plasma; on GNOME, which offers no way for one program to activate another's window,
// a failure that says so. Empty on other desktops.
std::optional<Failure> activateThroughDesktop(const QString &title);

// The module, loaded on first use; null (with the reason in why) when it cannot be.
Module *module(QString *why);

} // namespace platform::wayland
