#include "scheduler/TickLoop.h"
#include "common/AsRunLog.h"
#include "fixtures/TempFolder.h"
#include "fixtures/TestClock.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace campanor;
using campanor::test::TempFolder;
using campanor::test::TestClock;

namespace {

struct Schedule {
    TestClock clock{QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0, 300))};
    InternalClock internal;
    TickLoop loop{clock, internal};
    int next = 0;

    Schedule() {
        loop.start();
        next = loop.msUntilNextSecond();
    }

    TickLoop::Result step(const QStringList& lines = {}, int lateMs = 0) {
        clock.advanceMs(next + lateMs);
        TickLoop::Result r = loop.tick(lines);
        next = r.nextTickMs;
        return r;
    }
};

// What a carried-out line saw: its second and the system clock at that moment.
struct Carried {
    QString name;
    QDateTime second;
    QDateTime system;
    qint64 monotonic;
};

} // namespace

TEST(TickLoop, TicksComeJustAfterEachSecondAndShowBothClocksEqual) {
    Schedule run;
    EXPECT_EQ(run.next, 705) << "from 08:00:00.300 to just past 08:00:01";
    for (int i = 0; i < 3; ++i) {
        const auto r = run.step({}, 3);
        EXPECT_EQ(r.caption,
                  QStringLiteral("Win32系统时钟>08:00:0%1 本软件内部时钟>08:00:0%1").arg(i + 1));
        EXPECT_EQ(r.nextTickMs, 1000 - 3) << "re-armed against the system clock, no drift";
    }
    // A timer that fires a little early sees the old second and waits for the new one.
    run.clock.advanceMs(run.next - 20);
    const auto early = run.loop.tick({QStringLiteral("08:00:04*x>每天<a")});
    EXPECT_FALSE(early.dueLine);
    EXPECT_EQ(run.internal.text(), "08:00:03");
    EXPECT_EQ(early.nextTickMs, 15 + TickLoop::kAimPastSecondMs);
}

TEST(TickLoop, StepsForwardRunMissedSecondsInOrderAndBackStepsHold) {
    Schedule run;
    const QStringList lines = {
        QStringLiteral("08:00:01*a>每天<a"), QStringLiteral("08:00:02*b>每天<b"),
        QStringLiteral("08:03:00*c>每天<c"), QStringLiteral("09:00:00*d>每天<d"),
        QStringLiteral("09:00:00*shadow>每月7日<s")};
    std::vector<Carried> runs;
    run.loop.setDueHandler([&](const QString& line) {
        runs.push_back({line.section('*', 1, 1).section('>', 0, 0), run.internal.second(),
                        run.clock.now(), run.clock.monotonicMs()});
    });
    run.step(lines);
    // Forward by an hour: a, b's successors and the hour's lines run in a few seconds.
    run.clock.set(run.clock.now().addSecs(3600));
    for (int i = 0; i < 10; ++i)
        run.step(lines);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[1].name, "b");
    EXPECT_EQ(runs[2].name, "c");
    EXPECT_EQ(runs[3].name, "d") << "one line a second: the 每月 line of 09:00:00 is passed over";
    for (size_t i = 1; i < runs.size(); ++i)
        EXPECT_GE(runs[i].monotonic - runs[i - 1].monotonic, TickLoop::kCatchUpPaceMs);
    EXPECT_EQ(run.internal.lagSeconds(wallTime(run.clock.now())), 0) << "back on time";

    // Back by ten minutes: the internal clock holds; 09:00:00 does not run again.
    const QDateTime before = run.internal.second();
    run.clock.set(run.clock.now().addSecs(-600));
    for (int i = 0; i < 590; ++i)
        run.step(lines);
    EXPECT_EQ(run.internal.second(), before);
    for (int i = 0; i < 30; ++i)
        run.step(lines);
    EXPECT_GT(run.internal.second(), before);
    EXPECT_EQ(runs.size(), 4u);
}

TEST(TickLoop, ASimulatedDayOfRandomStepsRunsNothingEarlyTwiceOrSkipped) {
    TempFolder home;
    AsRunLog::open(home.path());
    // A line every seven minutes, and day rules that only hold on one side of midnight.
    QStringList lines;
    for (int s = 0; s < 86400; s += 7 * 60)
        lines << QTime(0, 0).addSecs(s).toString("HH:mm:ss") + QStringLiteral("*m>每天<x");
    lines << QStringLiteral("23:59:59*monday>星期一<x")
          << QStringLiteral("00:00:01*tuesday>星期二<x")
          << QStringLiteral("00:00:02*eighth>每月8日<x");

    for (quint32 seed : {1u, 2u, 3u}) {
        QRandomGenerator random(seed);
        Schedule run;
        run.clock.set(QDateTime(QDate(2026, 12, 7), QTime(21, 0, 0, 500))); // a Monday
        run.loop.start();
        std::vector<Carried> runs;
        run.loop.setDueHandler([&](const QString& line) {
            runs.push_back({line.section('*', 1, 1).section('>', 0, 0), run.internal.second(),
                            run.clock.now(), run.clock.monotonicMs()});
            run.clock.advanceMs(random.bounded(300)); // the action takes a while
        });
        const QDateTime start = run.internal.second();
        // Steps of at most three hours: everything in between still runs once.
        const qint64 steps[] = {5, -3, 120, -600, 3600, -3600, 2 * 3600, 10740, -10740, 59};
        int nextStep = 0;
        while (run.internal.date() < QDate(2026, 12, 9)) {
            if (random.bounded(2000) == 0 && nextStep < int(std::size(steps)))
                run.clock.set(run.clock.now().addSecs(steps[nextStep++]));
            run.step(lines, random.bounded(25));
        }
        ASSERT_EQ(nextStep, int(std::size(steps))) << "seed " << seed;

        QSet<QDateTime> seen;
        for (const Carried& r : runs) {
            EXPECT_GE(wallTime(r.system), r.second)
                << "early at " << r.second.toString().toStdString();
            EXPECT_FALSE(seen.contains(r.second)) << "twice " << r.second.toString().toStdString();
            seen.insert(r.second);
        }
        for (size_t i = 1; i < runs.size(); ++i)
            EXPECT_LT(runs[i - 1].second, runs[i].second);
        // Every line's occurrence between the start and the end ran.
        int expected = 0;
        for (QDateTime t = start.addSecs(1); t <= run.internal.second(); t = t.addSecs(1))
            expected += (t.time().msecsSinceStartOfDay() / 1000) % 420 == 0;
        EXPECT_EQ(
            std::count_if(runs.begin(), runs.end(), [](const Carried& r) { return r.name == "m"; }),
            expected);
        // Across midnight the second carries its own date.
        auto ranOn = [&](const char* name) {
            QList<QDate> days;
            for (const Carried& r : runs)
                if (r.name == name)
                    days << r.second.date();
            return days;
        };
        EXPECT_EQ(ranOn("monday"), QList<QDate>{QDate(2026, 12, 7)});
        EXPECT_EQ(ranOn("tuesday"), QList<QDate>{QDate(2026, 12, 8)});
        EXPECT_EQ(ranOn("eighth"), QList<QDate>{QDate(2026, 12, 8)});
    }
    AsRunLog::close();
}

TEST(TickLoop, StepsBeyondThreeHoursResynchroniseAndAreLogged) {
    TempFolder home;
    AsRunLog::open(home.path());
    Schedule run;
    QStringList done;
    run.loop.setDueHandler([&](const QString& line) { done << line; });
    const QStringList lines = {QStringLiteral("10:00:00*skipped>每天<x")};
    run.step(lines);
    run.clock.set(run.clock.now().addSecs(8 * 3600)); // suspended overnight
    run.step(lines);
    EXPECT_TRUE(done.isEmpty()) << "the eight hours between are not run";
    EXPECT_EQ(run.internal.lagSeconds(wallTime(run.clock.now())), 0);
    run.clock.set(run.clock.now().addSecs(-8 * 3600 - 60));
    run.step(lines);
    EXPECT_EQ(run.internal.text(), "07:59:03") << "a large step back is followed at once too";
    AsRunLog::close();

    const QString text =
        QString::fromUtf8(home.bytes("Log/" + QDate::currentDate().toString(Qt::ISODate) + ".log"));
    EXPECT_TRUE(text.contains("系统时钟跳变 +28800 秒")) << text.toStdString();
    EXPECT_TRUE(text.contains("系统时钟跳变 -28860 秒"));
    EXPECT_TRUE(text.contains("系统时钟与内部时钟相差 +28801 秒"));
    EXPECT_TRUE(text.contains("系统时钟与内部时钟相差 -28859 秒"));
}

TEST(TickLoop, TheLogSaysInChineseHowEachLineWentOneLineAnEvent) {
    TempFolder home;
    AsRunLog::open(home.path());
    Schedule run;
    run.clock.set(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 57, 300)));
    run.loop.start();
    run.next = run.loop.msUntilNextSecond();
    const QStringList lines = {QStringLiteral("23:59:58*缺文件>每天</nowhere/bell.wav"),
                               QStringLiteral("23:59:59*上课>每天<打铃"),
                               QStringLiteral("23:59:59*同一秒>每天<线路关闭"),
                               QStringLiteral("00:00:00*早操>每天<打铃")};
    run.loop.setDueHandler([](const QString& line) {
        if (line.contains(QStringLiteral("缺文件")))
            throw std::runtime_error("铃声文件不存在：/nowhere/bell.wav");
    });
    run.loop.setDayHandler([](const QDate& date) {
        TickLoop::Day day;
        day.holiday = date == QDate(2026, 12, 8);
        day.holidayName = QStringLiteral("校庆");
        return day;
    });
    QStringList told;
    run.loop.setOutcomeHandler(
        [&](const QDateTime&, const QString&, const QString& outcome, bool failed) {
            told << outcome + (failed ? QStringLiteral(" (failed)") : QString());
        });
    for (int i = 0; i < 3; ++i)
        run.step(lines);
    AsRunLog::close();

    const QStringList logged =
        QString::fromUtf8(home.bytes("Log/" + QDate::currentDate().toString(Qt::ISODate) + ".log"))
            .split(u'\n', Qt::SkipEmptyParts);
    const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    QStringList said;
    for (const QString& line : logged) {
        EXPECT_TRUE(stamp.match(line).hasMatch()) << line.toStdString();
        said << line.mid(13);
    }
    EXPECT_EQ(said,
              (QStringList{
                  QStringLiteral("指令 2026-12-07 23:59:58 开始 23:59:58.005 "
                                 "失败：铃声文件不存在：/nowhere/bell.wav："
                                 "23:59:58*缺文件>每天</nowhere/bell.wav"),
                  QStringLiteral("指令 2026-12-07 23:59:59 开始 23:59:59.005 完成："
                                 "23:59:59*上课>每天<打铃"),
                  QStringLiteral("指令 2026-12-07 23:59:59 开始 23:59:59.005 "
                                 "跳过（这一秒已执行另一条指令）：23:59:59*同一秒>每天<线路关闭"),
                  QStringLiteral("放假：校庆，今天不执行指令"),
                  QStringLiteral("指令 2026-12-08 00:00:00 开始 00:00:00.005 "
                                 "未执行（放假：校庆）：00:00:00*早操>每天<打铃"),
              }))
        << logged.join(u'\n').toStdString();
    // The failed colour and the mark follow the Chinese word.
    EXPECT_EQ(told, (QStringList{QStringLiteral("失败：铃声文件不存在：/nowhere/bell.wav (failed)"),
                                 QStringLiteral("完成")}));
}

TEST(TickLoop, CalibrationJumpsForwardButNeverBack) {
    Schedule run;
    QStringList done;
    run.loop.setDueHandler([&](const QString& line) { done << line.left(8); });
    const QStringList lines = {QStringLiteral("08:00:04*x>每天<a"),
                               QStringLiteral("08:00:30*y>每天<a")};
    for (int i = 0; i < 5; ++i)
        run.step(lines);
    EXPECT_EQ(done, QStringList{"08:00:04"});
    // Set back: calibration holds instead of going back, so 08:00:04 stays done.
    run.clock.set(run.clock.now().addSecs(-4));
    run.loop.calibrate();
    EXPECT_EQ(run.internal.text(), "08:00:05");
    for (int i = 0; i < 6; ++i)
        run.step(lines);
    EXPECT_EQ(done, QStringList{"08:00:04"});
    EXPECT_EQ(run.internal.text(), "08:00:07");
    // Behind: it jumps to the system's second without running the ones between.
    run.clock.set(run.clock.now().addSecs(60));
    run.loop.calibrate();
    EXPECT_EQ(run.internal.text(), "08:01:07");
    run.step(lines);
    EXPECT_EQ(done, QStringList{"08:00:04"});
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
    run.loop.setDueHandler([&](const QString&) {
        run.clock.advanceMs(3000);
        nestedCaption = run.loop.tick(lines).caption;
    });
    run.step(lines);
    EXPECT_TRUE(nestedCaption.isEmpty());
    EXPECT_EQ(run.internal.text(), "08:00:01");
}
