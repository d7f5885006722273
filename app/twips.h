#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

// Positions and sizes of the forms are designed in twips: 1440 to the inch, 15 to a
// device-independent pixel at 96 dpi. This is the one place that converts.
namespace twips {

constexpr double PerPixel = 15.0;

inline int toPixels(double tw) { return int(std::lround(tw / PerPixel)); }
inline double fromPixels(double px) { return px * PerPixel; }

inline QRect rect(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace twips
