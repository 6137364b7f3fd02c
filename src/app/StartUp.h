#pragma once

#include <functional>

class QApplication;
class QWidget;

namespace campanor {

// What every start does to the application before any window is made: its
// names and icon, Qt's own Chinese texts, and the session bus
// opened on another core (see the definition).
void setUpApplication(QApplication& app);

// Runs `work` once, right after the window's first frame is on the screen,
// or after `fallbackMs` when no frame comes (a window that starts minimized).
// Slow start-up work queued before the first frame would hold it back.
void afterFirstPaint(QWidget* window, std::function<void()> work, int fallbackMs = 2000);

} // namespace campanor
