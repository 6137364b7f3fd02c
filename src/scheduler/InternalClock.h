#pragma once

#include <QDateTime>
#include <QString>

namespace campanor {

// The local date and time as the wall shows it, with no time zone attached:
// a daylight-saving change then looks like any other step of the clock.
QDateTime wallTime(const QDateTime& local);

// The program's own clock: the last second of the schedule that was visited,
// with its own date. It never runs ahead of the system clock, so nothing is
// carried out before its second; when behind it visits the missed seconds in
// order, each once.
class InternalClock {
  public:
    // Stands on the second of `wallNow` as visited: the next tick visits the
    // one after it.
    void set(const QDateTime& wallNow);
    void advance();

    // Whole seconds from the internal clock to the system's second: positive
    // when the internal clock is behind, negative when it is ahead.
    qint64 lagSeconds(const QDateTime& wallNow) const;

    const QDateTime& second() const { return second_; }
    QDate date() const { return second_.date(); }
    // hh:mm:ss: what instruction times are compared with.
    QString text() const;

  private:
    QDateTime second_ = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
};

// "Win32系统时钟>" + system time + " 本软件内部时钟>" + internal time.
QString clockCaption(const QTime& systemTime, const QString& internalText);

} // namespace campanor
