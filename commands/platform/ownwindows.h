#pragma once

namespace platform::ownwindows {

// This program's own windows, as far as the commands must know them: keys sent to the
// active window may be meant for one of them, and AppActivate's wait is for this program
// to become the active one. The window program installs the answers; a console program
// has no windows, and both answers are false there. (The commands do not link the GUI
// library themselves, so that vbsrun starts fast.)
struct Probe {
    bool (*hasFocus)() = nullptr; // one of our windows has the keyboard focus
    bool (*isActive)() = nullptr; // the program is the active one on the desktop
};

void install(Probe probe);
bool hasWindows(); // a probe is installed: this is the window program
bool hasFocus();
bool isActive();

} // namespace platform::ownwindows
