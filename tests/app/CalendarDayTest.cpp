// The school year in the real program: which table a day starts on, holidays
// and make-up days under a stepped clock, and the day's plan on the command line.
#include "fixtures/SteppedProgram.h"
#include "fixtures/WaitUntil.h"

#include <QProcess>
#include <gtest/gtest.h>

using campanor::test::kFakeTime;
using campanor::test::SteppedProgram;
using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

QStringList ranNames(const SteppedProgram& program) {
    QStringList names;
    for (const auto& ran : program.ran())
        names << ran.name;
    return names;
}

} // namespace

TEST(CalendarDay, TheRealProgramOpensTheDaysTableAndKeepsHolidaysAndMakeUpDays) {
    if (!QFile::exists(kFakeTime) || !QFile::exists(qEnvironmentVariable("CAMPANOR_BINARY")))
        GTEST_SKIP() << "needs libfaketime and the program";
    SteppedProgram program;
    // Friday 2026-10-09 is an exam day; Saturday a make-up day run as a
    // Tuesday; Sunday and Monday a holiday.
    const QDateTime friday(QDate(2026, 10, 9), QTime(23, 59, 50));
    program.start(friday.addSecs(-20));
    ASSERT_TRUE(waitUntil([&] { return program.home.exists("ResetSystem.txt"); }, 15000));
    program.stop();

    const QString exam = program.home.file("DayTimeTable/EXAM.DTT");
    program.home.write("DayTimeTable/Default.DTT",
                       TempFolder::quoted(QStringLiteral("|23:59:55*default>每天<后置关"
                                                         "|00:00:00*midnight>每天<后置关"
                                                         "|00:00:02*tuesday>星期二<后置关"
                                                         "|00:00:02*saturday>星期六<前置关"
                                                         "|00:00:03*saturday>星期六<前置关")));
    program.home.write("DayTimeTable/EXAM.DTT",
                       TempFolder::quoted(QStringLiteral("|23:59:55*exam>每天<后置关"
                                                         "|00:00:00*examnight>每天<后置关")));
    program.home.write("Calendar.txt",
                       TempFolder::quoted(QStringLiteral("2026年10月9日*期中考试>换表<") + exam +
                                          QStringLiteral("|2026年10月10日*补班>调休<星期二"
                                                         "|2026年10月11日~2026年10月12日*国庆节>"
                                                         "放假<")));
    program.start(friday);
    ASSERT_TRUE(program.process.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return program.hasRun("tuesday"); }, 30000))
        << program.logText().toStdString();

    // A day later, across the next midnight: a holiday.
    program.setClock(QDateTime(QDate(2026, 10, 10), QTime(23, 59, 57)));
    const QString notRun = QStringLiteral("未执行（放假：国庆节）：00:00:00*midnight");
    ASSERT_TRUE(
        waitUntil([&] { return QString::fromUtf8(program.logText()).contains(notRun); }, 15000))
        << program.logText().toStdString();
    waitUntil([] { return false; }, 3500);
    program.stop();

    // Started on the exam day: its table; at midnight the make-up day's
    // table (the default) with its 00:00:00 line; then its Tuesday lines.
    EXPECT_EQ(ranNames(program), (QStringList{"exam", "midnight", "tuesday"}));
    const QString log = QString::fromUtf8(program.logText());
    EXPECT_EQ(log.count(QStringLiteral("放假：国庆节，今天不执行指令")), 1) << log.toStdString();
    EXPECT_FALSE(log.contains(QRegularExpression("指令 2026-10-11 \\S+ 开始 \\S+ 完成")))
        << log.toStdString();
}

namespace {

struct PlanRun {
    int status = -1;
    QString out, err;
};

PlanRun runPlan(const TempFolder& home, const QString& date) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CAMPANOR_HOME", home.path());
    // No screen at all: the plan must not need one.
    env.remove("DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("CAMPANOR_BINARY"), {"--plan", date});
    process.waitForFinished(10000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(CalendarDay, ThePlanOfADayOnTheCommandLine) {
    if (!QFile::exists(qEnvironmentVariable("CAMPANOR_BINARY")))
        GTEST_SKIP() << "needs the program";
    TempFolder home;
    const QString ring = home.file("ring.mp3");
    home.write("ring.mp3", "not really a sound, but there");
    const QString later = home.file("DayTimeTable/LATER.DTT");
    const QString gone = home.file("DayTimeTable/GONE.DTT");
    home.write("DayTimeTable/Default.DTT",
               TempFolder::quoted(QStringLiteral("|07:30:00*没有注释>星期二<线路打开"
                                                 "|08:00:00*上课>每天<") +
                                  ring +
                                  QStringLiteral("|08:00:00*同一秒>每天<线路关闭"
                                                 "|09:00:00*周六>星期六<后置关"
                                                 "|10:00:00*换>每月17日<打开表") +
                                  later + QStringLiteral("|11:00:00*不再>每天<后置关")));
    home.write("DayTimeTable/LATER.DTT",
               TempFolder::quoted(QStringLiteral("|10:00:00*同秒不跑>每天<后置关"
                                                 "|10:00:01*缺>每天</nowhere/bell.mp3"
                                                 "|12:00:00*再换>每天<打开表") +
                                  gone));
    home.write("Calendar.txt",
               TempFolder::quoted(QStringLiteral("2026年10月1日~2026年10月7日*国庆节>放假<"
                                                 "|2026年10月10日*补班>调休<星期二")));

    const PlanRun plain = runPlan(home, "2026-10-12");
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, QStringLiteral("2026年10月12日 星期一 表：Default.DTT\n"
                                        "08:00:00*上课>每天<") +
                             ring + QStringLiteral("\n11:00:00*不再>每天<后置关\n"));

    const PlanRun holiday = runPlan(home, "2026-10-03");
    EXPECT_EQ(holiday.out, QStringLiteral("2026年10月3日 星期六 放假（国庆节） 表：Default.DTT\n"));

    const PlanRun makeUp = runPlan(home, "2026-10-10");
    EXPECT_EQ(makeUp.out, QStringLiteral("2026年10月10日 星期六 调休（按星期二） 表：Default.DTT\n"
                                         "07:30:00*没有注释>星期二<线路打开\n"
                                         "08:00:00*上课>每天<") +
                              ring + QStringLiteral("\n11:00:00*不再>每天<后置关\n"));

    // Into the other table from the next second on; a missing file is marked.
    const PlanRun hop = runPlan(home, "2026-10-17");
    EXPECT_EQ(hop.out, QStringLiteral("2026年10月17日 星期六 表：Default.DTT\n"
                                      "08:00:00*上课>每天<") +
                           ring +
                           QStringLiteral("\n09:00:00*周六>星期六<后置关\n"
                                          "10:00:00*换>每月17日<打开表") +
                           later +
                           QStringLiteral("\n10:00:01*缺>每天</nowhere/bell.mp3\n"
                                          "! 铃声文件不存在：/nowhere/bell.mp3\n"
                                          "12:00:00*再换>每天<打开表") +
                           gone + QStringLiteral("\n! 指令表不存在：") + gone + u'\n');

    for (const char* bad : {"2026-02-30", "tomorrow", ""}) {
        const PlanRun invalid = runPlan(home, bad);
        EXPECT_EQ(invalid.status, 2) << bad;
        EXPECT_TRUE(invalid.out.isEmpty());
        EXPECT_TRUE(invalid.err.contains(QStringLiteral("日期无效"))) << bad;
    }
}
