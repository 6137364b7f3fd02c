#include "TickLoop.h"

#include "Matching.h"
#include "common/Clock.h"

namespace campanor {

TickLoop::TickLoop(const Clock& clock, InternalClock& internal)
    : clock_(clock), internal_(internal) {}

TickLoop::Result TickLoop::tick(const QStringList& lines, int currentInterval) {
    Result result;
    result.interval = currentInterval;
    if (inTick_)
        return result;
    inTick_ = true;

    const QDateTime now = clock_.now();
    result.interval = internal_.pace(now.time(), currentInterval);
    internal_.advance();
    const QString clockText = internal_.text();
    result.caption = clockCaption(now.time(), clockText);

    for (const QString& line : lines) {
        if (!IsInstructionDue(line, clockText, now.date()))
            continue;
        result.dueLine = line;
        try {
            if (onDue_)
                onDue_(line);
        } catch (...) {
            if (onFailure_)
                onFailure_(line);
        }
        break;
    }
    inTick_ = false;
    return result;
}

} // namespace campanor
