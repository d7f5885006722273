#include "ownwindows.h"

namespace platform::ownwindows {

namespace {
Probe installed;
}

void install(Probe probe)
{
    installed = probe;
}

bool hasWindows()
{
    return installed.isActive != nullptr;
}

bool hasFocus()
{
    return installed.hasFocus && installed.hasFocus();
}

bool isActive()
{
    return installed.isActive && installed.isActive();
}

} // namespace platform::ownwindows
