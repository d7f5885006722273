#include "keys.h"

#include <QHash>

#include "portal.h"
#include "wayland.h"
#include "x11.h"

namespace platform::keys {

namespace {

const QHash<QString, QString> &namedKeys()
{
    static const QHash<QString, QString> keys = [] {
        QHash<QString, QString> k = {
            {"BACKSPACE", "BackSpace"}, {"BS", "BackSpace"}, {"BKSP", "BackSpace"},
            {"BREAK", "Break"}, {"CAPSLOCK", "Caps_Lock"}, {"DELETE", "Delete"}, {"DEL", "Delete"},
            {"DOWN", "Down"}, {"END", "End"}, {"ENTER", "Return"}, {"ESC", "Escape"},
            {"HELP", "Help"}, {"HOME", "Home"}, {"INSERT", "Insert"}, {"INS", "Insert"},
            {"LEFT", "Left"}, {"NUMLOCK", "Num_Lock"}, {"PGDN", "Next"}, {"PGUP", "Prior"},
            {"PRTSC", "Print"}, {"RIGHT", "Right"}, {"SCROLLLOCK", "Scroll_Lock"}, {"TAB", "Tab"},
            {"UP", "Up"}, {"ADD", "KP_Add"}, {"SUBTRACT", "KP_Subtract"},
            {"MULTIPLY", "KP_Multiply"}, {"DIVIDE", "KP_Divide"},
        };
        for (int f = 1; f <= 16; ++f)
            k.insert(QStringLiteral("F%1").arg(f), QStringLiteral("F%1").arg(f));
        return k;
    }();
    return keys;
}

class Parser {
public:
    explicit Parser(const QString &text) : s(text) {}

    bool parse(QList<Stroke> &out)
    {
        while (pos < s.size())
            if (!item(0, out))
                return false;
        return true;
    }

private:
    // One key, a braced key, or a modifier applying to the next key or (group).
    bool item(int modifiers, QList<Stroke> &out)
    {
        if (pos >= s.size())
            return false; // a modifier with nothing to apply to
        const QChar c = s[pos++];
        switch (c.unicode()) {
        case '+': return modifier(modifiers | Shift, out);
        case '^': return modifier(modifiers | Control, out);
        case '%': return modifier(modifiers | Alt, out);
        case '~': out << Stroke{modifiers, QChar(), QStringLiteral("Return")}; return true;
        case '{': return braced(modifiers, out);
        case '(': return group(modifiers, out);
        case '}':
        case ')': return false;
        default: out << Stroke{modifiers, c, QString()}; return true;
        }
    }

    bool modifier(int modifiers, QList<Stroke> &out) { return item(modifiers, out); }

    bool group(int modifiers, QList<Stroke> &out)
    {
        for (;;) {
            if (pos >= s.size())
                return false;
            if (s[pos] == QLatin1Char(')')) {
                ++pos;
                return true;
            }
            if (!item(modifiers, out))
                return false;
        }
    }

    // {x} {KEY} {KEY n} {x n}; "}" itself is written {}}.
    bool braced(int modifiers, QList<Stroke> &out)
    {
        int close = int(s.indexOf(QLatin1Char('}'), pos + (pos < s.size() && s[pos] == QLatin1Char('}') ? 1 : 0)));
        if (close < 0 || close == pos)
            return false;
        const QString inside = s.mid(pos, close - pos);
        pos = close + 1;
        QString name = inside;
        int count = 1;
        const int space = int(inside.lastIndexOf(QLatin1Char(' ')));
        if (space > 0) {
            bool ok = false;
            count = inside.mid(space + 1).toInt(&ok);
            if (!ok || count < 0)
                return false;
            name = inside.left(space);
        }
        Stroke stroke{modifiers, QChar(), QString()};
        if (name.size() == 1) {
            stroke.character = name[0];
        } else {
            const auto key = namedKeys().constFind(name.toUpper());
            if (key == namedKeys().constEnd())
                return false;
            stroke.keysym = *key;
        }
        for (int i = 0; i < count; ++i)
            out << stroke;
        return true;
    }

    const QString &s;
    int pos = 0;
};

} // namespace

Failure parse(const QString &text, QList<Stroke> &strokes)
{
    strokes.clear();
    Parser parser(text);
    if (!parser.parse(strokes)) {
        strokes.clear();
        return failed(InvalidCall);
    }
    return Failure();
}

namespace {

// Where the keys go: in a Wayland session whose compositor offers a virtual keyboard, that
// keyboard reaches every window, native and XWayland alike, with a keymap of our own, so
// that every character arrives. XTest stays for X11 sessions and for the XWayland windows
// of desktops without one. (XTest into XWayland loses characters once our keymap has been
// handed to the X server: it must borrow a key for nearly each one.)
wayland::Session *waylandKeyboard()
{
    wayland::Session *w = wayland::session();
    return w && w->canType() ? w : nullptr;
}

} // namespace

Failure send(const QList<Stroke> &strokes)
{
    if (wayland::Session *w = waylandKeyboard())
        return w->type(strokes);
    x11::Connection *x = x11::connection();
    // GNOME and KDE: a native window takes keys only through the desktop portal.
    if (wayland::inSession() && (!x || !x->activeWindow()) && portal::reachable())
        return portal::type(strokes);
    if (!x)
        return wayland::inSession() ? wayland::noWayIn() : x11::noDisplay();
    if (wayland::inSession())
        x->reloadKeymap();
    QString run; // plain characters go as text, several at a time
    auto flush = [&] {
        QString plain;
        for (const QChar c : run) {
            if (x->hasKey(c)) {
                plain += c;
                continue;
            }
            if (!plain.isEmpty())
                x->typeText(plain);
            plain.clear();
            x->sync();
            x->typeBorrowedKey(c);
        }
        if (!plain.isEmpty())
            x->typeText(plain);
        run.clear();
    };
    for (const Stroke &stroke : strokes) {
        if (stroke.modifiers == 0 && stroke.isCharacter() && stroke.character != QLatin1Char('\n')) {
            run += stroke.character;
            continue;
        }
        flush();
        QStringList chord;
        if (stroke.modifiers & Control)
            chord << QStringLiteral("ctrl");
        if (stroke.modifiers & Alt)
            chord << QStringLiteral("alt");
        if (stroke.modifiers & Shift)
            chord << QStringLiteral("shift");
        chord << (stroke.isCharacter() ? x->keysymName(stroke.character) : stroke.keysym);
        x->sendChord(chord.join(QLatin1Char('+')));
    }
    flush();
    x->sync();
    return Failure();
}

} // namespace platform::keys
