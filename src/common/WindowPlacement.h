#pragma once

class QWidget;

namespace campanor {

// Places a window that is about to show for the first time over the middle of
// `host`, kept inside the host's screen; a window already on the screen stays
// where the operator put it.
void centreOver(QWidget* window, const QWidget* host);

// Shows a window whatever its state: a minimised one comes back.
void bringBack(QWidget* window);

} // namespace campanor
