#pragma once

#include <QDateTime>

namespace campanor {

// The system date and time, behind a seam so that tests can set and jump it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace campanor
