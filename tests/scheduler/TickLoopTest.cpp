#include "scheduler/TickLoop.h"
#include "fixtures/TestClock.h"

#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace campanor;
using campanor::test::TestClock;

namespace {

struct Schedule {
    TestClock clock{QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0, 300))};
    InternalClock internal;
    TickLoop loop{clock, internal};
    int interval = InternalClock::kStartInterval;

    Schedule() { internal.set(clock.now().time()); }

    TickLoop::Result step(const QStringList& lines = {}) {
        clock.advanceMs(interval);
        TickLoop::Result r = loop.tick(lines, interval);
        interval = r.interval;
        return r;
    }
};

} // namespace

TEST(TickLoop, FirstTickSpeedsUpAndShowsBothClocks) {
    Schedule run;
    const auto r = run.step();
    EXPECT_EQ(r.interval, 500);
    EXPECT_EQ(r.caption, QStringLiteral("Win32系统时钟>08:00:01 本软件内部时钟>08:00:01"));
    EXPECT_EQ(run.internal.text(), "08:00:01");
}

TEST(TickLoop, MidnightWrapsAndOneHourJumpsKeepTheOldHour) {
    InternalClock c;
    c.set(QTime(23, 59, 59));
    c.advance();
    EXPECT_EQ(c.text(), "00:00:00");
    c.set(QTime(9, 59, 59));
    // System 10:00:00 against internal 09:59:59: S=0 < I=3599, one slow tick first.
    EXPECT_EQ(c.pace(QTime(10, 0, 0), 1000), 1600);
    // An exact hour's jump leaves the pace alone.
    c.set(QTime(8, 20, 0));
    EXPECT_EQ(c.pace(QTime(9, 20, 0), 500), 500);
}

TEST(TickLoop, SimulatedDayVisitsEverySecondOnceThroughJumps) {
    Schedule run;
    run.clock.set(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0, 300)));
    run.internal.set(QTime(0, 0, 0));
    const QStringList lines = {
        QStringLiteral("08:15:00*forward>每天<a"),   // inside a forward jump
        QStringLiteral("09:00:00*across>每天<b"),    // inside a jump across the hour
        QStringLiteral("12:17:00*back>每天<c"),      // inside a backward jump
        QStringLiteral("12:17:00*shadow>每月7日<d"), // same second, lower precedence
        QStringLiteral("20:00:00*never>2020年1月1日<e"),
        QStringLiteral("broken line without delimiters"),
    };
    QHash<QString, int> carriedOut;
    run.loop.setDueHandler(
        [&](const QString& line) { ++carriedOut[line.section('*', 1, 1).section('>', 0, 0)]; });

    struct Jump {
        QTime at;
        int seconds;
        bool done = false;
    };
    Jump jumps[] = {{QTime(8, 10, 0), 600}, {QTime(8, 55, 0), 600}, {QTime(12, 20, 0), -300}};
    QSet<QString> visited;
    int fastTicks = 0;
    for (int i = 0; i < 86400; ++i) {
        for (Jump& jump : jumps) {
            if (!jump.done && run.clock.now().time() >= jump.at) {
                run.clock.advanceMs(qint64(jump.seconds) * 1000);
                jump.done = true;
            }
        }
        run.step(lines);
        const QString text = run.internal.text();
        EXPECT_FALSE(visited.contains(text)) << text.toStdString();
        visited.insert(text);
        fastTicks += run.interval == 500;
    }
    EXPECT_EQ(visited.size(), 86400);
    EXPECT_EQ(carriedOut.value("forward"), 1);
    EXPECT_EQ(carriedOut.value("across"), 1);
    EXPECT_EQ(carriedOut.value("back"), 1);
    EXPECT_EQ(carriedOut.value("shadow"), 0);
    EXPECT_EQ(carriedOut.value("never"), 0);
    EXPECT_GT(fastTicks, 1200);
    // After the jumps the internal clock has caught up with the system clock.
    const int drift = QTime(run.internal.hour(), run.internal.minute(), run.internal.second())
                          .secsTo(run.clock.now().time());
    EXPECT_LE(std::min(std::abs(drift), 86400 - std::abs(drift)), 2);
}

TEST(TickLoop, AFailureEndsThatTickOnlyAndReportsTheLine) {
    Schedule run;
    const QStringList lines = {QStringLiteral("08:00:01*bad>每天<x"),
                               QStringLiteral("08:00:02*good>每天<y")};
    QStringList failed, done;
    run.loop.setDueHandler([&](const QString& line) {
        if (line.contains("bad"))
            throw std::runtime_error("folder is gone");
        done << line;
    });
    run.loop.setFailureHandler([&](const QString& line) { failed << line; });
    run.step(lines);
    run.step(lines);
    EXPECT_EQ(failed, QStringList{lines[0]});
    EXPECT_EQ(done, QStringList{lines[1]});
}

TEST(TickLoop, ATickInsideATickDoesNothing) {
    Schedule run;
    const QStringList lines = {QStringLiteral("08:00:01*x>每天<x")};
    QString nestedCaption = "unset";
    run.loop.setDueHandler(
        [&](const QString&) { nestedCaption = run.loop.tick(lines, 500).caption; });
    run.step(lines);
    EXPECT_TRUE(nestedCaption.isEmpty());
    EXPECT_EQ(run.internal.text(), "08:00:01");
}
