// libvornix-wayland.so: the Wayland and desktop-portal code, loaded by the commands on first
// use. Its one entry point hands out the object that offers it all.
#include "virtualinput.h"
#include "waylandapi.h"

namespace platform::wayland {

Failure portalType(const QList<keys::Stroke> &strokes); // remotedesktop.cpp
bool kwinAvailable();                                   // kwin.cpp
Failure kwinActivate(const QString &title);

namespace {

// The compositor's virtual input and the desktop's interfaces, as one object.
class WaylandModule : public Module {
public:
    bool connected() override { return input() != nullptr; }
    bool canType() override { return input() && input()->canType(); }
    bool canListWindows() override { return input() && input()->canListWindows(); }
    Failure type(const QList<keys::Stroke> &strokes) override { return input()->type(strokes); }
    QList<Toplevel> windows() override { return input()->windows(); }
    bool activate(int index) override { return input()->activate(index); }
    Failure portalType(const QList<keys::Stroke> &strokes) override { return wayland::portalType(strokes); }
    bool kwinAvailable() override { return wayland::kwinAvailable(); }
    Failure kwinActivate(const QString &title) override { return wayland::kwinActivate(title); }

private:
    static VirtualInput *input()
    {
        static VirtualInput *shared = VirtualInput::connect();
        return shared;
    }
};

} // namespace

} // namespace platform::wayland

extern "C" Q_DECL_EXPORT platform::wayland::Module *vornixWaylandModule()
{
    static platform::wayland::WaylandModule module;
    return &module;
}
