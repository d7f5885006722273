// libvornix-wayland.so: the Wayland and desktop-portal code, loaded by the commands on first
// use. Its one entry point hands out the table of what it offers.
#include "virtualinput.h"
#include "waylandapi.h"

namespace platform::wayland {

void portalType(const QList<keys::Stroke> *strokes, Failure *result); // remotedesktop.cpp
bool kwinAvailable();                                                 // kwin.cpp
void kwinActivate(const QString *title, Failure *result);

namespace {

VirtualInput *input()
{
    static VirtualInput *shared = VirtualInput::connect();
    return shared;
}

const ModuleApi api{
    [] { return input() != nullptr; },
    [] { return input() && input()->canType(); },
    [] { return input() && input()->canListWindows(); },
    [](const QList<keys::Stroke> *strokes, Failure *result) { *result = input()->type(*strokes); },
    [](QList<Toplevel> *out) { *out = input()->windows(); },
    [](int index) { return input()->activate(index); },
    &portalType,
    &kwinAvailable,
    &kwinActivate,
};

} // namespace

} // namespace platform::wayland

extern "C" Q_DECL_EXPORT const platform::wayland::ModuleApi *vornixWaylandModule()
{
    return &platform::wayland::api;
}
