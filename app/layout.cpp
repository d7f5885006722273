#include "layout.h"

#include "twips.h"

namespace frmmain_layout {

namespace {
constexpr double ButtonWidth = 1815, ButtonHeight = 495;
constexpr double StatusLeft = 120, StatusWidth = 7935, StatusHeight = 495;
constexpr double EditorLeft = 120, EditorTop = 120;
} // namespace

Controls designTime()
{
    return {
        twips::rect(EditorLeft, EditorTop, 8000, 3700),
        twips::rect(2400, 4320, ButtonWidth, ButtonHeight),
        twips::rect(4320, 4320, ButtonWidth, ButtonHeight),
        twips::rect(6240, 4320, ButtonWidth, ButtonHeight),
        twips::rect(StatusLeft, 4920, StatusWidth, StatusHeight),
    };
}

Controls forWindowSize(QSize outerPixels)
{
    const double w = twips::fromPixels(outerPixels.width());
    const double h = twips::fromPixels(outerPixels.height());
    const double exitLeft = w - 2300;
    const double newLeft = w - 4300;
    const double executeLeft = newLeft - 1920;
    const double buttonTop = h - 2000;
    return {
        twips::rect(EditorLeft, EditorTop, qMax(0.0, w - 300), qMax(0.0, h - 2300)),
        twips::rect(executeLeft, buttonTop, ButtonWidth, ButtonHeight),
        twips::rect(newLeft, buttonTop, ButtonWidth, ButtonHeight),
        twips::rect(exitLeft, buttonTop, ButtonWidth, ButtonHeight),
        twips::rect(StatusLeft, h - 1200, StatusWidth, StatusHeight),
    };
}

QRect startupGeometry(const QRect &screenPixels, const QMargins &frame)
{
    const float screenW = float(twips::fromPixels(screenPixels.width()));
    const float screenH = float(twips::fromPixels(screenPixels.height()));
    // The window system applies whole pixels; read the applied size back before placing.
    const QSize outer(twips::toPixels(screenW * 0.6f), twips::toPixels(screenH / 1.75f));
    const QSize client = outer.shrunkBy(frame).expandedTo(QSize(1, 1));
    const float w = float(twips::fromPixels(client.width() + frame.left() + frame.right()));
    const float h = float(twips::fromPixels(client.height() + frame.top() + frame.bottom()));
    const QPoint topLeft(twips::toPixels((screenW - w) / 2), twips::toPixels(screenH - h - 500));
    return QRect(screenPixels.topLeft() + topLeft, QSize(twips::toPixels(w), twips::toPixels(h)));
}

} // namespace frmmain_layout
