#pragma once

#include <QString>

namespace vbs {

// InStr and InStrRev: 1-based position of `sought` in `text`, or 0. Forward searches
// begin at `start`; backward searches find the last match that ends at or before `start`
// (-1: the end). An empty `text` gives 0; an empty `sought` is found at `start` (the
// length, searching back from -1).
int findText(const QString &text, const QString &sought, int start, bool textCompare, bool backward);

} // namespace vbs
