#pragma once

class QSlider;

namespace campanor {

// Moves a slider to `target` one step at a time, through every value, in a
// fixed time however long the range. It holds the thread like any long step;
// the scheduler's catch-up pace absorbs the delay.
void fadeSlider(QSlider* slider, int target, int totalMs);

} // namespace campanor
