#include "x11.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QThread>
#include <memory>

extern "C" {
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <xdo.h>
}

namespace platform::x11 {

namespace {
constexpr useconds_t KeyDelay = 8000; // between keystrokes, in microseconds

// The display and libxdo's handle on it, with the property lookups the commands need.
struct Session {
    Display *display = nullptr;
    xdo_t *xdo = nullptr;

    Atom atom(const char *name) { return XInternAtom(display, name, False); }

    // A property of 32-bit items (CARDINAL, WINDOW, ATOM lists).
    QList<unsigned long> longs(Window w, const char *property, Atom type)
    {
        QList<unsigned long> out;
        Atom actual;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, w, atom(property), 0, 4096, False, type, &actual, &format, &count,
                               &after, &data) == Success && data && format == 32) {
            auto *items = reinterpret_cast<unsigned long *>(data);
            for (unsigned long i = 0; i < count; ++i)
                out << items[i];
        }
        if (data)
            XFree(data);
        return out;
    }

    QString title(Window w)
    {
        Atom actual;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        QString result;
        if (XGetWindowProperty(display, w, atom("_NET_WM_NAME"), 0, 1024, False, atom("UTF8_STRING"), &actual,
                               &format, &count, &after, &data) == Success && data && count) {
            result = QString::fromUtf8(reinterpret_cast<char *>(data), int(count));
        } else {
            char *name = nullptr;
            if (XFetchName(display, w, &name) && name) {
                result = QString::fromLocal8Bit(name);
                XFree(name);
            }
        }
        if (data)
            XFree(data);
        return result;
    }

    // The process behind a window: its _NET_WM_PID, or, for programs that do not set it,
    // what the X server knows of the client that made the window (X-Resource extension).
    qint64 pidOf(Window w)
    {
        const QList<unsigned long> pid = longs(w, "_NET_WM_PID", XA_CARDINAL);
        if (!pid.isEmpty())
            return qint64(pid.first());
        XResClientIdSpec query;
        query.client = w;
        query.mask = XRES_CLIENT_ID_PID_MASK;
        long count = 0;
        XResClientIdValue *values = nullptr;
        qint64 found = 0;
        int eventBase, errorBase;
        if (XResQueryExtension(display, &eventBase, &errorBase)
            && XResQueryClientIds(display, 1, &query, &count, &values) == Success) {
            for (long i = 0; i < count && !found; ++i)
                if (values[i].spec.mask & XRES_CLIENT_ID_PID_MASK)
                    found = XResGetClientPid(&values[i]);
            XResClientIdsDestroy(count, values);
        }
        return found > 0 ? found : 0;
    }

    bool viewable(Window w)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable
               && !attributes.override_redirect;
    }

    // Without a window manager's client list: the root's mapped children, or the client
    // window (the one with WM_STATE) inside a frame.
    void collect(Window w, int depth, QList<Window> &out)
    {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &n))
            return;
        for (unsigned int i = 0; i < n; ++i) {
            const Window c = children[i];
            if (depth == 0 && !viewable(c))
                continue;
            if (!title(c).isEmpty() || !longs(c, "WM_STATE", atom("WM_STATE")).isEmpty())
                out << c;
            else if (depth < 2)
                collect(c, depth + 1, out);
        }
        if (children)
            XFree(children);
    }

    void sendState(Window w, long action, const char *first, const char *second)
    {
        XEvent e = {};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom("_NET_WM_STATE");
        e.xclient.format = 32;
        e.xclient.data.l[0] = action;
        e.xclient.data.l[1] = long(atom(first));
        e.xclient.data.l[2] = second ? long(atom(second)) : 0;
        e.xclient.data.l[3] = 1;
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    }
};

// The connection through Xlib and libxdo.
class XlibConnection final : public Connection {
public:
    explicit XlibConnection(Display *display);
    ~XlibConnection() override;

    void typeText(const QString &text) override;
    bool hasKey(QChar c) override;
    void typeBorrowedKey(QChar c) override;
    void sendChord(const QString &chord) override;
    void sync() override;
    void bell() override;
    void reloadKeymap() override;
    QString keysymName(QChar c) override;
    QList<WindowInfo> windows() override;
    unsigned long activeWindow() override;
    void activate(unsigned long window) override;
    void minimize(unsigned long window) override;
    void maximize(unsigned long window) override;
    bool windowManagerActivates() override;

private:
    std::unique_ptr<Session> d;
};

} // namespace

XlibConnection::XlibConnection(Display *display) : d(new Session)
{
    d->display = display;
    d->xdo = xdo_new_with_opened_display(display, nullptr, True);
}

XlibConnection::~XlibConnection()
{
    if (d->xdo)
        xdo_free(d->xdo); // closes the display too
    else
        XCloseDisplay(d->display);
}

void XlibConnection::reloadKeymap()
{
    // Xlib's copy of the mapping follows the server's MappingNotify; libxdo's is made once,
    // so a fresh one takes its place.
    while (XPending(d->display)) {
        XEvent e;
        XNextEvent(d->display, &e);
        if (e.type == MappingNotify)
            XRefreshKeyboardMapping(&e.xmapping);
    }
    xdo_t *fresh = xdo_new_with_opened_display(d->display, nullptr, True);
    if (!fresh)
        return;
    d->xdo->close_display_when_freed = 0; // the display stays with the new one
    xdo_free(d->xdo);
    d->xdo = fresh;
}

QString XlibConnection::keysymName(QChar c)
{
    const unsigned int code = c.unicode();
    const KeySym sym = code < 0x100 ? KeySym(code) : KeySym(0x01000000 | code);
    const char *name = XKeysymToString(sym);
    return name ? QString::fromLatin1(name) : QStringLiteral("U%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

void XlibConnection::typeText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    xdo_enter_text_window(d->xdo, CURRENTWINDOW, utf8.constData(), KeyDelay);
}

bool XlibConnection::hasKey(QChar c)
{
    const unsigned int code = c.unicode();
    const KeySym sym = code < 0x100 ? KeySym(code) : KeySym(0x01000000 | code);
    return XKeysymToKeycode(d->display, sym) != 0;
}

void XlibConnection::typeBorrowedKey(QChar c)
{
    // xdo maps the character to a spare key, types it and maps the key back: the pauses let
    // the receiving window read the key while it still means this character. A busy machine
    // can keep the window from reading it for a while (60 ms lost characters when both cores
    // were loaded); 200 ms did not, at 0.2 s per character that the layout lacks.
    const QByteArray utf8 = QString(c).toUtf8();
    xdo_enter_text_window(d->xdo, CURRENTWINDOW, utf8.constData(), 200000);
    XSync(d->display, False);
    QThread::msleep(40);
}

void XlibConnection::sendChord(const QString &chord)
{
    const QByteArray keys = chord.toLatin1();
    xdo_send_keysequence_window(d->xdo, CURRENTWINDOW, keys.constData(), KeyDelay);
}

void XlibConnection::sync()
{
    XSync(d->display, False);
}

void XlibConnection::bell()
{
    XBell(d->display, 0);
    XFlush(d->display);
}

QList<WindowInfo> XlibConnection::windows()
{
    const Window root = DefaultRootWindow(d->display);
    QList<Window> ids;
    const QList<unsigned long> managed = d->longs(root, "_NET_CLIENT_LIST", XA_WINDOW);
    if (!managed.isEmpty()) {
        for (unsigned long w : managed)
            ids << Window(w);
    } else {
        d->collect(root, 0, ids);
    }
    QList<WindowInfo> out;
    for (Window w : ids) {
        WindowInfo info;
        info.id = w;
        info.title = d->title(w);
        info.pid = d->pidOf(w);
        out << info;
    }
    return out;
}

bool XlibConnection::windowManagerActivates()
{
    const Window root = DefaultRootWindow(d->display);
    const QList<unsigned long> supported = d->longs(root, "_NET_SUPPORTED", XA_ATOM);
    return supported.contains(d->atom("_NET_ACTIVE_WINDOW"))
           && !d->longs(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).isEmpty();
}

unsigned long XlibConnection::activeWindow()
{
    // The window manager's word, none included: under XWayland none means that a native
    // Wayland window has the focus.
    if (windowManagerActivates())
        return d->longs(DefaultRootWindow(d->display), "_NET_ACTIVE_WINDOW", XA_WINDOW).value(0, 0);
    Window focus;
    int revert;
    XGetInputFocus(d->display, &focus, &revert);
    return focus;
}

void XlibConnection::activate(unsigned long window)
{
    const Window w = Window(window);
    if (windowManagerActivates()) {
        xdo_activate_window(d->xdo, w);
    } else {
        XMapRaised(d->display, w);
        XSetInputFocus(d->display, w, RevertToParent, CurrentTime);
    }
    XSync(d->display, False);
    // Keys sent next must reach the window: wait (briefly) until it has the focus.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000 && activeWindow() != window)
        QThread::msleep(10);
}

void XlibConnection::minimize(unsigned long window)
{
    XIconifyWindow(d->display, Window(window), DefaultScreen(d->display));
    XFlush(d->display);
}

void XlibConnection::maximize(unsigned long window)
{
    d->sendState(Window(window), 1, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    XFlush(d->display);
}

} // namespace platform::x11

// The module's entry point: a connection to the display that DISPLAY names, or null.
extern "C" Q_DECL_EXPORT platform::x11::Connection *vornixX11Connect()
{
    Display *display = XOpenDisplay(nullptr);
    return display ? new platform::x11::XlibConnection(display) : nullptr;
}
