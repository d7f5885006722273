#pragma once

#include <cstdint>

#include "keys.h"

// The X keysym a stroke types (Return for a line break), 0 when there is none. Shared by
// the Wayland virtual keyboard and the desktop portal module.
namespace platform::keys {

uint32_t keysymOf(const Stroke &stroke);

} // namespace platform::keys
