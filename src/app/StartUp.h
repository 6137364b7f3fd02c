#pragma once

#include <functional>

class QWidget;

namespace campanor {

// Runs `work` once, right after the window's first frame is on the screen,
// or after `fallbackMs` when no frame comes (a window that starts minimized).
// Slow start-up work queued before the first frame would hold it back.
void afterFirstPaint(QWidget* window, std::function<void()> work, int fallbackMs = 2000);

} // namespace campanor
