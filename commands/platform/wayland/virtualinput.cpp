#include "virtualinput.h"

#include <QElapsedTimer>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

extern "C" {
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
}

#include "keysyms.h"

namespace platform::wayland {

namespace {

// Real modifier bits of an XKB keymap, and the keys that carry them in ours.
constexpr uint32_t ShiftMask = 1u << 0, ControlMask = 1u << 2, Mod1Mask = 1u << 3;
constexpr uint32_t FirstKeycode = 9;
const QStringList ModifierKeysyms{QStringLiteral("Shift_L"), QStringLiteral("Control_L"), QStringLiteral("Alt_L")};
// X11 clients (XWayland) take key codes up to 255: a long text gets several keymaps.
constexpr int KeysPerKeymap = 200;

uint32_t milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The symbols of the key that types a stroke, as xkbcommon spells them: one keysym, or
// for a letter typed with Shift its small and capital forms, so that Shift picks the capital
// as on any keyboard. Empty when there is no keysym for it.
QString keySymbolsOf(const keys::Stroke &stroke)
{
    const xkb_keysym_t sym = keys::keysymOf(stroke);
    if (sym == XKB_KEY_NoSymbol)
        return QString();
    auto name = [](xkb_keysym_t k) {
        char text[64];
        return xkb_keysym_get_name(k, text, sizeof text) > 0 ? QString::fromLatin1(text) : QString();
    };
    const xkb_keysym_t lower = xkb_keysym_to_lower(sym), upper = xkb_keysym_to_upper(sym);
    if ((stroke.modifiers & keys::Shift) && lower != upper)
        return name(lower) + QStringLiteral(", ") + name(upper);
    return name(sym);
}

} // namespace

QByteArray keymapFor(const QStringList &keysyms)
{
    const QStringList all = ModifierKeysyms + keysyms;
    QByteArray codes, symbols;
    for (int i = 0; i < all.size(); ++i) {
        const uint32_t code = FirstKeycode + uint32_t(i);
        for (const QString &sym : all[i].split(QStringLiteral(", ")))
            if (xkb_keysym_from_name(sym.toLatin1().constData(), XKB_KEYSYM_NO_FLAGS) == XKB_KEY_NoSymbol)
                return QByteArray();
        codes += "    <K" + QByteArray::number(code) + "> = " + QByteArray::number(code) + ";\n";
        symbols += "    key <K" + QByteArray::number(code) + "> { [ " + all[i].toLatin1() + " ] };\n";
    }
    symbols += "    modifier_map Shift { <K9> };\n    modifier_map Control { <K10> };\n"
               "    modifier_map Mod1 { <K11> };\n";
    return "xkb_keymap {\n"
           "  xkb_keycodes \"vornix\" {\n    minimum = 8;\n    maximum = "
           + QByteArray::number(std::max<uint32_t>(255, FirstKeycode + uint32_t(all.size())))
           + ";\n" + codes
           + "  };\n"
             "  xkb_types \"vornix\" { include \"complete\" };\n"
             "  xkb_compatibility \"vornix\" { include \"complete\" };\n"
             "  xkb_symbols \"vornix\" {\n"
           + symbols + "  };\n};\n";
}

struct VirtualInput::Private {
    struct Handle {
        Private *owner = nullptr;
        zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
        Toplevel shown, pending;
    };

    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_seat *seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *keyboards = nullptr;
    zwp_virtual_keyboard_v1 *keyboard = nullptr;
    zwlr_foreign_toplevel_manager_v1 *toplevels = nullptr;
    std::vector<Handle *> handles; // oldest first
    xkb_context *xkb = nullptr;

    ~Private()
    {
        for (Handle *h : handles) {
            zwlr_foreign_toplevel_handle_v1_destroy(h->handle);
            delete h;
        }
        if (keyboard)
            zwp_virtual_keyboard_v1_destroy(keyboard);
        if (keyboards)
            zwp_virtual_keyboard_manager_v1_destroy(keyboards);
        if (toplevels)
            zwlr_foreign_toplevel_manager_v1_destroy(toplevels);
        if (seat)
            wl_seat_destroy(seat);
        if (registry)
            wl_registry_destroy(registry);
        if (xkb)
            xkb_context_unref(xkb);
        if (display)
            wl_display_disconnect(display);
    }

    bool roundtrip() { return wl_display_roundtrip(display) >= 0; }

    // Lets the compositor's and the clients' events flow for a moment.
    void settle(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            roundtrip();
            QThread::msleep(10);
        }
    }

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
    {
        auto *d = static_cast<Private *>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !d->seat) {
            d->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
            d->keyboards = static_cast<zwp_virtual_keyboard_manager_v1 *>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
        } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
            d->toplevels = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 2u)));
            static const zwlr_foreign_toplevel_manager_v1_listener listener{&Private::toplevel, &Private::finished};
            zwlr_foreign_toplevel_manager_v1_add_listener(d->toplevels, &listener, d);
        }
    }
    static void globalRemoved(void *, wl_registry *, uint32_t) {}

    static void toplevel(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        auto *d = static_cast<Private *>(data);
        auto *h = new Handle;
        h->owner = d;
        h->handle = handle;
        d->handles.push_back(h);
        static const zwlr_foreign_toplevel_handle_v1_listener listener{
            &Private::title, &Private::appId, &Private::outputEnter, &Private::outputLeave,
            &Private::state, &Private::done, &Private::closed};
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, h);
    }
    static void finished(void *, zwlr_foreign_toplevel_manager_v1 *) {}
    static void title(void *data, zwlr_foreign_toplevel_handle_v1 *, const char *title)
    {
        static_cast<Handle *>(data)->pending.title = QString::fromUtf8(title);
    }
    static void appId(void *data, zwlr_foreign_toplevel_handle_v1 *, const char *appId)
    {
        static_cast<Handle *>(data)->pending.appId = QString::fromUtf8(appId);
    }
    static void outputEnter(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
    static void outputLeave(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
    static void state(void *data, zwlr_foreign_toplevel_handle_v1 *, wl_array *states)
    {
        bool active = false;
        const auto *items = static_cast<const uint32_t *>(states->data);
        for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i)
            active = active || items[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        static_cast<Handle *>(data)->pending.active = active;
    }
    static void done(void *data, zwlr_foreign_toplevel_handle_v1 *)
    {
        auto *h = static_cast<Handle *>(data);
        h->shown = h->pending;
    }
    static void closed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        auto *h = static_cast<Handle *>(data);
        std::vector<Handle *> &all = h->owner->handles;
        all.erase(std::remove(all.begin(), all.end(), h), all.end());
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
        delete h;
    }

    bool sendKeymap(const QByteArray &keymap)
    {
        const int fd = memfd_create("vornix-keymap", MFD_CLOEXEC);
        if (fd < 0)
            return false;
        const QByteArray text = keymap + '\0'; // the size counts the terminating zero
        bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
        if (ok)
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, uint32_t(text.size()));
        ::close(fd);
        return ok;
    }

    void key(uint32_t keycode, bool down)
    {
        zwp_virtual_keyboard_v1_key(keyboard, milliseconds(), keycode - 8, // evdev numbering
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    }
};

VirtualInput::~VirtualInput()
{
    delete d;
}

bool VirtualInput::canType() const
{
    return d->keyboards && d->seat;
}

bool VirtualInput::canListWindows() const
{
    return d->toplevels && d->seat;
}

Failure VirtualInput::type(const QList<keys::Stroke> &strokes)
{
    if (!canType())
        return failed(InvalidCall, QStringLiteral("This Wayland desktop offers no virtual keyboard to type with"));
    // Each stroke's keysym, and the keymap chunks that hold them.
    QStringList names;
    for (const keys::Stroke &s : strokes) {
        const QString name = keySymbolsOf(s);
        if (name.isEmpty())
            return failed(InvalidCall);
        names << name;
    }
    const bool firstUse = !d->keyboard;
    if (firstUse) {
        d->keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(d->keyboards, d->seat);
    }
    int at = 0;
    while (at < strokes.size()) {
        QStringList keysyms; // the keys of this keymap, in key code order after the modifiers
        QHash<QString, uint32_t> codeOf;
        int end = at;
        for (; end < strokes.size(); ++end) {
            if (codeOf.contains(names[end]))
                continue;
            if (keysyms.size() == KeysPerKeymap)
                break;
            codeOf.insert(names[end], FirstKeycode + uint32_t(ModifierKeysyms.size() + keysyms.size()));
            keysyms << names[end];
        }
        if (!d->sendKeymap(keymapFor(keysyms)))
            return failed(InvalidCall, QStringLiteral("The keymap for the keys could not be handed to the desktop"));
        if (firstUse && at == 0) // a new keyboard on the seat: let the windows take it up
            d->settle(150);
        for (int i = at; i < end; ++i) {
            const keys::Stroke &s = strokes[i];
            uint32_t mask = 0;
            QList<uint32_t> held;
            if (s.modifiers & keys::Shift) {
                mask |= ShiftMask;
                held << FirstKeycode;
            }
            if (s.modifiers & keys::Control) {
                mask |= ControlMask;
                held << FirstKeycode + 1;
            }
            if (s.modifiers & keys::Alt) {
                mask |= Mod1Mask;
                held << FirstKeycode + 2;
            }
            for (uint32_t code : held)
                d->key(code, true);
            if (mask)
                zwp_virtual_keyboard_v1_modifiers(d->keyboard, mask, 0, 0, 0);
            d->key(codeOf.value(names[i]), true);
            d->key(codeOf.value(names[i]), false);
            for (uint32_t code : held)
                d->key(code, false);
            if (mask)
                zwp_virtual_keyboard_v1_modifiers(d->keyboard, 0, 0, 0, 0);
        }
        if (!d->roundtrip())
            return failed(InvalidCall, QStringLiteral("The Wayland desktop closed the connection"));
        at = end;
    }
    return Failure();
}

QList<Toplevel> VirtualInput::windows()
{
    QList<Toplevel> out;
    if (!canListWindows() || !d->roundtrip())
        return out;
    for (const Private::Handle *h : d->handles)
        out << h->shown;
    return out;
}

bool VirtualInput::activate(int index)
{
    if (index < 0 || size_t(index) >= d->handles.size())
        return false;
    Private::Handle *h = d->handles[size_t(index)];
    zwlr_foreign_toplevel_handle_v1_activate(h->handle, d->seat);
    // Keys sent next must find the window ready for them: wait (a while, never for ever)
    // until the compositor reports it active, then give its program a moment to take the
    // focus in.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000) {
        if (!d->roundtrip())
            return false;
        if (std::find(d->handles.begin(), d->handles.end(), h) == d->handles.end())
            return false; // closed meanwhile
        if (h->shown.active)
            break;
        QThread::msleep(10);
    }
    d->settle(50);
    return true;
}

VirtualInput *VirtualInput::connect()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    auto *input = new VirtualInput;
    input->d = new Private;
    input->d->display = display;
    input->d->registry = wl_display_get_registry(display);
    static const wl_registry_listener listener{&Private::global, &Private::globalRemoved};
    wl_registry_add_listener(input->d->registry, &listener, input->d);
    input->d->roundtrip(); // the globals
    input->d->roundtrip(); // the toplevels they list
    return input;
}

} // namespace platform::wayland
