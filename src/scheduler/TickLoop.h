#pragma once

#include "InternalClock.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace campanor {

class Clock;

// One tick of the schedule, without any window. Each tick brings the internal
// clock up to the system's second, one second at a time, and carries out at
// most one due line; the result says when the next tick should come.
class TickLoop {
  public:
    // Two instructions carried out while catching up are at least this far apart.
    static constexpr int kCatchUpPaceMs = 500;
    // Ticks aim just past the start of a system second, never before it.
    static constexpr int kAimPastSecondMs = 5;
    // A step larger than this (either way) is not run through: the internal
    // clock is set to the system's second.
    static constexpr qint64 kResyncBeyondSeconds = 3 * 3600;

    // Carries out a due line; may throw, which ends that tick only.
    using DueHandler = std::function<void(const QString& line)>;
    using FailureHandler = std::function<void(const QString& line)>;
    // Told of a step past kResyncBeyondSeconds, with the second it left.
    using ResyncHandler = std::function<void(const QDateTime& left)>;
    // Gives the final outcome of a line whose outcome came later.
    using Finish = std::function<void(const QString& outcome)>;
    // Told each outcome of a carried-out line as it is logged (a later one
    // too), with whether it is a failure; lines passed over are not told.
    using OutcomeHandler = std::function<void(const QDateTime& second, const QString& line,
                                              const QString& outcome, bool failed)>;

    // What a date is to the schedule; the host knows it (its calendar), the
    // tick only goes by it.
    struct Day {
        bool holiday = false;
        QString holidayName;
        // What 星期X rules are tested against: 0 for the date's own weekday.
        int ruleWeekday = 0;
        // The lines of the table the day starts on, when the host switched tables.
        std::optional<QStringList> lines;
    };
    using DayHandler = std::function<Day(const QDate& date)>;

    TickLoop(const Clock& clock, InternalClock& internal);

    void setDueHandler(DueHandler handler) { onDue_ = std::move(handler); }
    void setDayHandler(DayHandler handler) { onDay_ = std::move(handler); }
    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }
    void setResyncHandler(ResyncHandler handler) { onResync_ = std::move(handler); }
    void setOutcomeHandler(OutcomeHandler handler) { onOutcome_ = std::move(handler); }

    struct Result {
        // Milliseconds until the next tick should come.
        int nextTickMs = kCatchUpPaceMs;
        // Empty for a tick that came inside another one and did nothing.
        QString caption;
        std::optional<QString> dueLine;
    };

    // Puts the internal clock on the system's second; the next tick visits the
    // second after it.
    void start();

    // `lines` is copied before any executor runs, so an executor may replace
    // the table. A tick that comes while another is still running does nothing.
    Result tick(const QStringList& lines);

    // The manual calibration: jumps forward to the system's second when
    // behind (the seconds between are not run) and holds when ahead, so no
    // second is ever run twice. Gives how far the internal clock was behind
    // (positive) or ahead (negative) of the system's second, in seconds.
    qint64 calibrate();

    // From now to just past the start of the next system second.
    int msUntilNextSecond() const;

    bool inTick() const { return inTick_; }

    // Asks the host what the internal clock's date is. The tick does so
    // itself when the date changes, before the new day's first second is
    // matched, and at its first second if the host has not asked yet.
    void beginDay();
    const Day& day() const { return day_; }

    // For an action whose outcome is known only later (a power request waits
    // for the system's answer, a countdown for its end): called from the due
    // handler of `line`, the tick logs `forNow` instead of done, and the
    // returned function logs the final outcome (logword::done(), failed(why),
    // cancelled()) under the same second and line, with a failure handled as
    // the tick handles its own. Outside a due handler only the final outcome
    // is logged, under the internal clock's second.
    Finish deferOutcome(const QString& line, const QString& forNow);

  private:
    void watchForSteps(const QDateTime& wallNow, qint64 monotonicNow);
    bool visitSecond(const QStringList& lines, Result& result);
    int nextTickMs(bool carriedOut, qint64 startedMonotonic) const;
    static void logOutcome(const QDateTime& second, const QDateTime& started, const QString& line,
                           const QString& outcome, const FailureHandler& onFailure,
                           const OutcomeHandler& onOutcome);

    const Clock& clock_;
    InternalClock& internal_;
    DueHandler onDue_;
    FailureHandler onFailure_;
    DayHandler onDay_;
    QDate dayDate_;
    Day day_;
    ResyncHandler onResync_;
    OutcomeHandler onOutcome_;
    bool inTick_ = false;
    // The line whose due handler runs, and its outcome when that comes later.
    struct Deferral {
        QString forNow;
        // Still inside the due handler: a final outcome given now replaces forNow.
        bool open = true;
        std::optional<QString> final;
    };
    std::optional<QString> dueLine_;
    QDateTime dueStarted_;
    std::shared_ptr<Deferral> deferral_;
    qint64 lastWallMs_ = 0;
    qint64 lastMonotonicMs_ = 0;
    bool watching_ = false;
};

} // namespace campanor
