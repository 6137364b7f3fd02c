// The real program under libfaketime: its system clock is stepped while it
// runs, and the as-run log tells what ran when.
#include "fixtures/SteppedProgram.h"
#include "fixtures/WaitUntil.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using campanor::test::kFakeTime;
using campanor::test::Ran;
using campanor::test::SteppedProgram;
using campanor::test::TempFolder;
using campanor::test::waitUntil;

TEST(ClockStep, TheRealProgramFollowsStepsAndMidnightOnTheSecond) {
    if (!QFile::exists(kFakeTime) || !QFile::exists(qEnvironmentVariable("CAMPANOR_BINARY")))
        GTEST_SKIP() << "needs libfaketime and the program";
    SteppedProgram program;
    // A first start writes the settings files and an empty table.
    const QDateTime sunday(QDate(2026, 12, 13), QTime(23, 59, 40));
    program.start(sunday);
    ASSERT_TRUE(waitUntil([&] { return program.home.exists("ResetSystem.txt"); }, 15000));
    program.stop();

    program.home.write("DayTimeTable/Default.DTT",
                       TempFolder::quoted(QStringLiteral("|23:59:58*sunday>星期日<后置关"
                                                         "|00:00:00*monday>星期一<后置关"
                                                         "|00:00:00*shadow>每天<后置关"
                                                         "|00:05:00*forward>每天<后置关"
                                                         "|00:07:00*once>每天<后置关")));
    program.start(sunday.addSecs(5));
    ASSERT_TRUE(program.process.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return program.hasRun("monday"); }, 40000))
        << program.logText().toStdString();

    // Forward ten minutes: what fell due between runs within a few seconds.
    program.setClock(QDateTime(QDate(2026, 12, 14), QTime(0, 10, 0)));
    ASSERT_TRUE(waitUntil([&] { return program.hasRun("once"); }, 15000))
        << program.logText().toStdString();
    // Back five minutes: the internal clock holds, 00:07:00 does not run again.
    program.setClock(QDateTime(QDate(2026, 12, 14), QTime(0, 6, 57)));
    waitUntil([] { return false; }, 6000);
    program.stop();

    const QList<Ran> ran = program.ran();
    QStringList names;
    for (const Ran& r : ran) {
        names << r.name;
        // Never before its second, and within the second when on time.
        const qint64 lateMs = r.second.time().msecsTo(r.started);
        EXPECT_GE(lateMs, 0) << r.name.toStdString();
        if (r.name == "sunday" || r.name == "monday") {
            EXPECT_LT(lateMs, 300) << r.name.toStdString();
        }
    }
    EXPECT_EQ(names, (QStringList{"sunday", "monday", "forward", "once"}));
    EXPECT_EQ(ran[0].second.date(), QDate(2026, 12, 13));
    EXPECT_EQ(ran[1].second.date(), QDate(2026, 12, 14)) << "the right day at midnight";
    const QString log = QString::fromUtf8(program.logText());
    EXPECT_TRUE(log.contains("跳过（这一秒已执行另一条指令）：00:00:00*shadow"));
    EXPECT_TRUE(log.contains(QRegularExpression("系统时钟跳变 \\+59\\d 秒"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("系统时钟跳变 -1\\d\\d 秒")));
}
