#include "TickLoop.h"

#include "Matching.h"
#include "common/AsRunLog.h"
#include "common/Clock.h"
#include "common/LogWords.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

namespace campanor {

namespace {

// A step smaller than this is timer jitter, not a change of the clock.
constexpr qint64 kStepWorthSayingMs = 1000;

QString signedSeconds(qint64 seconds) {
    return (seconds >= 0 ? QStringLiteral("+") : QString()) + QString::number(seconds) +
           QStringLiteral(" 秒");
}

} // namespace

TickLoop::TickLoop(const Clock& clock, InternalClock& internal)
    : clock_(clock), internal_(internal) {}

void TickLoop::start() {
    const QDateTime wall = wallTime(clock_.now());
    internal_.set(wall);
    lastWallMs_ = wall.toMSecsSinceEpoch();
    lastMonotonicMs_ = clock_.monotonicMs();
    watching_ = true;
}

TickLoop::Result TickLoop::tick(const QStringList& lines) {
    Result result;
    if (inTick_)
        return result;
    inTick_ = true;

    const qint64 startedMonotonic = clock_.monotonicMs();
    const QDateTime now = clock_.now();
    const QDateTime wall = wallTime(now);
    watchForSteps(wall, startedMonotonic);

    qint64 lag = internal_.lagSeconds(wall);
    if (lag > kResyncBeyondSeconds || lag < -kResyncBeyondSeconds) {
        reportProblem(
            QStringLiteral("系统时钟与内部时钟相差 %1，内部时钟直接设为 %2，其间的秒不再执行")
                .arg(signedSeconds(lag), wall.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        const QDateTime left = internal_.second();
        internal_.set(wall);
        lag = 0;
        if (onResync_)
            onResync_(left);
    }

    // Behind: the missed seconds are visited in order; those with nothing due
    // pass at once, and the first with a due line ends this tick.
    QStringList snapshot = lines;
    bool carriedOut = false;
    for (; lag > 0 && !carriedOut; --lag) {
        internal_.advance();
        if (internal_.date() != dayDate_) {
            beginDay();
            if (day_.lines)
                snapshot = *std::exchange(day_.lines, std::nullopt);
        }
        carriedOut = visitSecond(snapshot, result);
    }

    result.caption = clockCaption(now.time(), internal_.text());
    result.nextTickMs = nextTickMs(carriedOut, startedMonotonic);
    inTick_ = false;
    return result;
}

qint64 TickLoop::calibrate() {
    const QDateTime wall = wallTime(clock_.now());
    const qint64 lag = internal_.lagSeconds(wall);
    if (lag > 0) {
        internal_.set(wall);
        AsRunLog::write(QStringLiteral("校时：内部时钟前进 %1，到 %2")
                            .arg(signedSeconds(lag), internal_.text()));
    } else if (lag < 0) {
        AsRunLog::write(
            QStringLiteral("校时：内部时钟停 %1，等系统时钟赶上").arg(signedSeconds(-lag)));
    }
    return lag;
}

int TickLoop::msUntilNextSecond() const {
    return 1000 - clock_.now().time().msec() + kAimPastSecondMs;
}

void TickLoop::watchForSteps(const QDateTime& wallNow, qint64 monotonicNow) {
    const qint64 wallMs = wallNow.toMSecsSinceEpoch();
    const qint64 step = (wallMs - lastWallMs_) - (monotonicNow - lastMonotonicMs_);
    if (watching_ && (step >= kStepWorthSayingMs || step <= -kStepWorthSayingMs))
        AsRunLog::write(QStringLiteral("系统时钟跳变 %1，现在是 %2")
                            .arg(signedSeconds(step / 1000),
                                 wallNow.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    lastWallMs_ = wallMs;
    lastMonotonicMs_ = monotonicNow;
    watching_ = true;
}

void TickLoop::beginDay() {
    dayDate_ = internal_.date();
    day_ = onDay_ ? onDay_(dayDate_) : Day{};
    if (day_.holiday)
        AsRunLog::write(QStringLiteral("放假") +
                        (day_.holidayName.isEmpty() ? QString() : u'：' + day_.holidayName) +
                        QStringLiteral("，今天不执行指令"));
}

bool TickLoop::visitSecond(const QStringList& lines, Result& result) {
    const QString clockText = internal_.text();
    const QDate day = internal_.date();
    bool carriedOut = false;
    for (const QString& line : lines) {
        if (!IsInstructionDue(line, clockText, day, day_.ruleWeekday))
            continue;
        const QDateTime started = clock_.now();
        if (day_.holiday) {
            // Visited as any other second, so nothing piles up for later.
            AsRunLog::instruction(internal_.second(), started, line,
                                  logword::notRunOnHoliday(day_.holidayName));
            continue;
        }
        if (carriedOut) {
            // One instruction a second: the rest of the second's lines are
            // only written down, so the operator can see why they did not run.
            AsRunLog::instruction(internal_.second(), started, line, logword::passedOver());
            continue;
        }
        carriedOut = true;
        result.dueLine = line;
        QString outcome = logword::done();
        dueLine_ = line;
        dueStarted_ = started;
        deferral_.reset();
        try {
            if (onDue_)
                onDue_(line);
        } catch (const std::exception& e) {
            outcome = logword::failed(QString::fromUtf8(e.what()));
        } catch (...) {
            outcome = logword::failed();
        }
        const std::shared_ptr<Deferral> deferral = std::exchange(deferral_, nullptr);
        dueLine_.reset();
        if (deferral) {
            deferral->open = false;
            if (outcome == logword::done())
                outcome = deferral->final.value_or(QString());
        }
        if (outcome.isEmpty()) {
            AsRunLog::instruction(internal_.second(), started, line, deferral->forNow);
            if (onOutcome_)
                onOutcome_(internal_.second(), line, deferral->forNow, false);
        } else {
            logOutcome(internal_.second(), started, line, outcome, onFailure_, onOutcome_);
        }
    }
    return carriedOut;
}

void TickLoop::logOutcome(const QDateTime& second, const QDateTime& started, const QString& line,
                          const QString& outcome, const FailureHandler& onFailure,
                          const OutcomeHandler& onOutcome) {
    AsRunLog::instruction(second, started, line, outcome);
    const bool failed = logword::isFailure(outcome);
    if (failed) {
        std::fprintf(stderr, "Campanor: %s %s\n", qUtf8Printable(outcome), qUtf8Printable(line));
        if (onFailure)
            onFailure(line);
    }
    if (onOutcome)
        onOutcome(second, line, outcome, failed);
}

TickLoop::Finish TickLoop::deferOutcome(const QString& line, const QString& forNow) {
    const QDateTime second = internal_.second();
    QDateTime started = clock_.now();
    auto deferral = std::make_shared<Deferral>();
    deferral->forNow = forNow;
    if (dueLine_ && *dueLine_ == line) {
        deferral_ = deferral;
        started = dueStarted_;
    } else {
        deferral->open = false;
    }
    return [deferral, second, started, line, onFailure = onFailure_,
            onOutcome = onOutcome_](const QString& outcome) {
        if (deferral->open)
            deferral->final = outcome; // the tick logs it
        else
            logOutcome(second, started, line, outcome, onFailure, onOutcome);
    };
}

int TickLoop::nextTickMs(bool carriedOut, qint64 startedMonotonic) const {
    if (internal_.lagSeconds(wallTime(clock_.now())) <= 0)
        return msUntilNextSecond();
    if (!carriedOut)
        return 0;
    const qint64 spent = clock_.monotonicMs() - startedMonotonic;
    return int(std::max<qint64>(0, kCatchUpPaceMs - spent));
}

} // namespace campanor
