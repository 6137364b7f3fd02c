#include "VolumeFade.h"

#include <QSlider>
#include <chrono>
#include <thread>

namespace campanor {

void fadeSlider(QSlider* slider, int target, int totalMs) {
    const int from = slider->value();
    const int steps = std::abs(target - from);
    if (steps == 0)
        return;
    const int direction = target > from ? 1 : -1;
    const auto start = std::chrono::steady_clock::now();
    const std::chrono::microseconds total(qint64(totalMs) * 1000);
    for (int i = 1; i <= steps; ++i) {
        slider->setValue(from + direction * i);
        std::this_thread::sleep_until(start + total * i / steps);
    }
}

} // namespace campanor
