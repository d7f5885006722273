#pragma once

#include <QList>
#include <QString>

#include "failure.h"

// Keystrokes: the SendKeys key-description syntax, and sending keys to the window that has
// the keyboard focus.
namespace platform::keys {

enum Modifier { Shift = 1, Control = 2, Alt = 4 };

// One key press with the modifiers held for it: either a character (typed as such, whatever
// the keyboard layout) or a named key (an X keysym name such as "Return" or "F4").
struct Stroke {
    int modifiers = 0;
    QChar character;
    QString keysym;

    bool isCharacter() const { return keysym.isEmpty(); }
    bool operator==(const Stroke &o) const
    {
        return modifiers == o.modifiers && character == o.character && keysym == o.keysym;
    }
};

// Parses "+ ^ % ~", "{KEY}", "{KEY n}", "+(group)", "{+}" and friends. Malformed text
// (an unmatched brace or parenthesis, an unknown key name, a modifier with nothing after it)
// is refused with error 5 before anything is sent.
Failure parse(const QString &text, QList<Stroke> &strokes);

// Sends the strokes to the focused window through XTest. Modifiers are released after each
// stroke. Returns once the X server has taken them all.
Failure send(const QList<Stroke> &strokes);

} // namespace platform::keys
