#pragma once

#include <QString>
#include <QTime>

namespace campanor {

// The program's own clock. It visits every second of the day once; the tick
// interval speeds it up or slows it down so that it follows the system clock
// without skipping or repeating a second.
class InternalClock {
  public:
    static constexpr int kFastInterval = 500;
    static constexpr int kSlowInterval = 1600;
    static constexpr int kStartInterval = 1000;

    void set(const QTime& systemTime);
    void advance();

    // The interval for the next tick: only minutes and seconds are compared, so
    // a jump of whole hours leaves the pace (and the internal hour) alone.
    int pace(const QTime& systemTime, int currentInterval) const;

    // hh:mm:ss: what instruction times are compared with.
    QString text() const;

    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }

  private:
    int hour_ = 0;
    int minute_ = 0;
    int second_ = 0;
};

// "Win32系统时钟>" + system time + " 本软件内部时钟>" + internal time.
QString clockCaption(const QTime& systemTime, const QString& internalText);

} // namespace campanor
