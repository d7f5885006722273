#pragma once

class QWidget;

// Window-manager hints that Qt has no flag for. No-ops off X11.
namespace x11window {

// Keeps the window out of the task bar (_NET_WM_STATE_SKIP_TASKBAR). Must run before the
// window is first shown: the state of an unmapped window is what the window manager reads.
void skipTaskbar(QWidget *window);

// Asks the window manager to make the window the active one, the way a task bar or pager
// asks (_NET_ACTIVE_WINDOW, source 2). Managers honour that where they refuse a program's
// own request for a window kept off the task bar; without one, takes the input focus.
void activate(QWidget *window);

} // namespace x11window
