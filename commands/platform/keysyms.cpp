#include "keysyms.h"

extern "C" {
#include <xkbcommon/xkbcommon.h>
}

namespace platform::keys {

uint32_t keysymOf(const Stroke &stroke)
{
    if (stroke.isCharacter()) {
        const char16_t c = stroke.character.unicode();
        if (c == u'\n' || c == u'\r')
            return XKB_KEY_Return;
        if (c == u'\t')
            return XKB_KEY_Tab;
        return xkb_utf32_to_keysym(c);
    }
    const QByteArray name = stroke.keysym.toLatin1();
    const xkb_keysym_t sym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_NO_FLAGS);
    return sym != XKB_KEY_NoSymbol ? sym : xkb_keysym_from_name(name.constData(), XKB_KEYSYM_CASE_INSENSITIVE);
}

} // namespace platform::keys
