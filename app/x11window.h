#pragma once

class QWidget;

// Window-manager hints that Qt has no flag for. No-ops off X11.
namespace x11window {

// Keeps the window out of the task bar (_NET_WM_STATE_SKIP_TASKBAR). Must run before the
// window is first shown: the state of an unmapped window is what the window manager reads.
void skipTaskbar(QWidget *window);

} // namespace x11window
