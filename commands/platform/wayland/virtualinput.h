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

    // What wayland::Session offers the commands, done here.
    bool canType() const;
    bool canListWindows() const;
    Failure type(const QList<keys::Stroke> &strokes);
    QList<Toplevel> windows();
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
