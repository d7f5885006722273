#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include "failure.h"
#include "keys.h"
#include "wayland.h"

// The compositor's own ways in, as wlroots compositors offer them: keys through a virtual
// keyboard (zwp_virtual_keyboard_v1) and the window list with activation through foreign
// toplevels (zwlr_foreign_toplevel_manager_v1).
namespace platform::wayland {

class VirtualInput {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY; null when it does not answer.
    static VirtualInput *connect();
    ~VirtualInput();

    bool canType() const;
    bool canListWindows() const;
    // Types the strokes into the focused window with a keymap made for them, so that every
    // character arrives whatever the user's layout. Modifiers are released after each stroke.
    Failure type(const QList<keys::Stroke> &strokes);
    // Every window the compositor shows, native and XWayland alike, oldest first.
    QList<Toplevel> windows();
    // Activates windows()[index] and waits until the compositor reports it active; false
    // when it has gone meanwhile.
    bool activate(int index);

private:
    VirtualInput() = default;
    struct Private;
    Private *d = nullptr;
};

// The keymap text with a key of its own for each entry ("a", or "a, A" for two levels),
// with Shift, Control and Alt on the first three keys (key codes from 9 on). Empty when a
// keysym is unknown.
QByteArray keymapFor(const QStringList &keys);

} // namespace platform::wayland
