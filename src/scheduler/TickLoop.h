#pragma once

#include "InternalClock.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace campanor {

class Clock;

// One tick of the schedule, without any window: pace, advance the internal
// clock, caption, and the scan that carries out at most one due line.
class TickLoop {
  public:
    // Carries out a due line; may throw, which ends that tick only.
    using DueHandler = std::function<void(const QString& line)>;
    using FailureHandler = std::function<void(const QString& line)>;

    TickLoop(const Clock& clock, InternalClock& internal);

    void setDueHandler(DueHandler handler) { onDue_ = std::move(handler); }
    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }

    struct Result {
        int interval = InternalClock::kStartInterval;
        QString caption;
        std::optional<QString> dueLine;
    };

    // `lines` is read before any executor runs, so an executor may replace the
    // table. A tick that comes while another is still running does nothing.
    Result tick(const QStringList& lines, int currentInterval);

    bool inTick() const { return inTick_; }

  private:
    const Clock& clock_;
    InternalClock& internal_;
    DueHandler onDue_;
    FailureHandler onFailure_;
    bool inTick_ = false;
};

} // namespace campanor
