#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// The main window's geometry rules, as pure arithmetic so they can be checked for any
// screen. All inputs and outputs are in pixels; the rules themselves work in twips.
namespace frmmain_layout {

// Where the controls go for an outer window size (frame, title bar and menu bar included).
struct Controls {
    QRect txtCode;
    QRect btnExecute;
    QRect btnNew;
    QRect btnExit;
    QRect status;
};

// Design-time positions, before the first layout.
Controls designTime();

// The layout rule: editor and buttons follow the window's right and bottom edges; no
// size ever becomes negative.
Controls forWindowSize(QSize outerPixels);

// Start-up: 0.6 of the screen's width, screen height / 1.75, centred across the screen
// with the bottom edge 500 twips above the screen's bottom. `frame` is what the window
// manager adds around the client area (none without a window manager). Returns the
// outer rectangle (frame included).
QRect startupGeometry(const QRect &screenPixels, const QMargins &frame);

} // namespace frmmain_layout
