#pragma once

#include <QDateTime>
#include <time.h>

namespace campanor {

// The system date and time, behind a seam so that tests can set and step it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // A clock that nobody sets: comparing it with now() tells a step of the
    // system clock from time that really passed.
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    }
};

} // namespace campanor
