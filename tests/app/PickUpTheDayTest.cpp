// The real program started in the middle of a day, and woken from a suspend:
// what the morning's instructions set is put back, what fell due meanwhile is
// logged as missed and not run.
#include "app/FormallFixture.h"
#include "fixtures/Audio.h"
#include "fixtures/FakeCard.h"
#include "fixtures/LogindMock.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/SteppedProgram.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace campanor::test;

namespace {

const char* kLineSwitch = "Line Playback Switch";

// The program on a program folder of its own, its clock under libfaketime.
class DayProgram : public SteppedProgram {
  public:
    DayProgram() {
        home.write("ResetSystem.txt", TempFolder::quoted("1"));
        home.write("show.txt", TempFolder::quoted("show"));
    }
    ~DayProgram() { stop(); }
    QString log() const { return asRunLogText(home.path()); }
    bool logged(const QString& text, int timeoutMs = 20000) const {
        return waitUntil([&] { return log().contains(text); }, timeoutMs);
    }
    void table(const QStringList& lines) {
        home.write("DayTimeTable/Default.DTT", TempFolder::quoted("|" + lines.join("|")));
    }
};

QDateTime at(const char* time) {
    return QDateTime(QDate(2026, 12, 7), QTime::fromString(QLatin1String(time), "hh:mm:ss"));
}

} // namespace

TEST(PickUpTheDay, AStartInTheMiddleOfTheMorningPutsBackWhatItsInstructionsSet) {
    if (qEnvironmentVariable("CAMPANOR_BINARY").isEmpty())
        GTEST_SKIP() << "program not built";
    FakeCard card;
    for (bool restoreOn : {true, false}) {
        SCOPED_TRACE(restoreOn ? "restore on" : "restore off");
        card.set(kLineSwitch, 0);
        DayProgram program;
        program.home.write("songs/.keep", "");
        ASSERT_TRUE(writeTone(program.home.file("songs/1.wav"), 30, 440));
        ASSERT_TRUE(writeTone(program.home.file("songs/2.wav"), 30, 880));
        program.home.write("PlayListFile/Morning.PLF",
                           TempFolder::quoted("|" + program.home.file("songs/1.wav") + "|" +
                                              program.home.file("songs/2.wav")));
        const QString ring = "08:00:10*预备铃>每天<" + program.home.file("songs/1.wav");
        program.table(
            {"07:59:59*没有注释>每天<线路打开",
             "08:00:00*早操>每天<播音开-静态" + program.home.file("PlayListFile/Morning.PLF"), ring,
             "08:00:30*没有注释>星期二<线路关闭"});
        if (!restoreOn)
            program.home.write("RestoreAtStart.txt", TempFolder::quoted("NO"));
        program.start(at("08:00:40"));

        ASSERT_TRUE(program.logged("程序启动后恢复播音状态")) << program.log().toStdString();
        EXPECT_TRUE(program.log().contains("错过（程序没有运行）：08:00:10 " + ring));
        EXPECT_FALSE(program.log().contains("08:00:30*")) << "another day's line";
        if (!restoreOn) {
            EXPECT_TRUE(program.log().contains("程序启动后恢复播音状态：功能已关闭"));
            EXPECT_FALSE(program.log().contains("已恢复"));
            EXPECT_EQ(card.value(kLineSwitch), 0);
            continue;
        }
        ASSERT_TRUE(program.logged("恢复：后置播音从第 2 首的第 ")) << program.log().toStdString();
        const QRegularExpression position("后置播音从第 2 首的第 ([0-9.]+) 秒继续");
        const double seconds = position.match(program.log()).captured(1).toDouble();
        EXPECT_GE(seconds, 9.5) << "40 s after the list began, the second 30 s tone is ~10 s in";
        EXPECT_LE(seconds, 13.0);
        EXPECT_TRUE(program.logged("已恢复线路输入：07:59:59"));
        EXPECT_EQ(card.value(kLineSwitch), 1);
        EXPECT_FALSE(program.log().contains("完成：08:00:10")) << "a ring is not replayed";
    }
}

TEST(PickUpTheDay, AResumeLogsWhatFellDueInItsSleepAndPutsBackTheStateAtItsNewSecond) {
    if (qEnvironmentVariable("CAMPANOR_BINARY").isEmpty())
        GTEST_SKIP() << "program not built";
    LogindMock logind;
    ASSERT_TRUE(logind.ready()) << logind.error().toStdString();
    FakeCard card;
    card.set(kLineSwitch, 0);
    DayProgram program;
    program.table({"08:00:00*没有注释>每天<线路打开", "08:05:00*上课铃>每天</nowhere/ring.mp3",
                   "08:10:00*没有注释>每天<线路关闭"});
    program.start(at("08:00:05"));
    ASSERT_TRUE(program.logged("已恢复线路输入：08:00:00")) << program.log().toStdString();
    EXPECT_EQ(card.value(kLineSwitch), 1);
    EXPECT_TRUE(waitUntil([&] { return logind.calls().join(' ').contains("Inhibit(sleep, "); }))
        << "the sleep waits until the program has seen it coming";

    logind.prepareForSleep(true);
    ASSERT_TRUE(program.logged("进入睡眠：08:00:0")) << program.log().toStdString();
    program.setClock(at("08:20:05"));
    QThread::msleep(1500); // the program's timer would have come by now
    logind.prepareForSleep(false);
    ASSERT_TRUE(program.logged("唤醒后恢复播音状态：08:20:0")) << program.log().toStdString();
    ASSERT_TRUE(program.logged("已恢复线路输入：08:10:00")) << program.log().toStdString();
    const QString log = program.log();
    EXPECT_TRUE(log.contains("错过（程序没有运行）：08:05:00 08:05:00*上课铃"));
    EXPECT_TRUE(log.contains("错过（程序没有运行）：08:10:00 08:10:00*没有注释>每天<线路关闭"));
    EXPECT_EQ(log.count("错过（程序没有运行）：08:00:00"), 1)
        << "missed at the start, not in the sleep";
    EXPECT_EQ(card.value(kLineSwitch), 0);
    EXPECT_FALSE(log.contains("指令 2026-12-07 08:05:00")) << "the ring is not run late";
}

namespace {
class PickUpTheDayWindow : public FormallTest {};
} // namespace

// The main window counts what was missed and opens the log in one click.
TEST_F(PickUpTheDayWindow, TheMissedInstructionsAreCountedWithTheLogOneClickAway) {
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted("|07:00:00*x>每天</nowhere/a.mp3|07:30:00*y>每天</nowhere/b.mp3"
                                 "|09:00:00*z>每天</nowhere/c.mp3"));
    auto w = start();
    EXPECT_TRUE(w->MissedButton->isHidden());
    w->restoreDay(QStringLiteral("start-up"), QTime(0, 0, 0));
    EXPECT_FALSE(w->MissedButton->isHidden());
    EXPECT_TRUE(w->MissedButton->text().contains(QStringLiteral("今天有 2 条指令")))
        << w->MissedButton->text().toStdString();
    w->MissedButton->click();
    ASSERT_NE(w->asRunLogWindow(), nullptr);
    EXPECT_TRUE(w->asRunLogWindow()->isVisible());
}
