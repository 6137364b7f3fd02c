#include "app/FormallFixture.h"
#include "fixtures/TimedatedMock.h"
#include "fixtures/WaitUntil.h"
#include "table/InstructionTable.h"

#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

class OperatorViewTest : public FormallTest {
  protected:
    AsRunLogWindow* openLog(Formall& w) {
        item(w, "MenuAsRunLog")->trigger();
        return w.asRunLogWindow();
    }
    QStringList shownLines(AsRunLogWindow* log) {
        const QString text = log->LogText->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(u'\n');
    }
};

} // namespace

TEST_F(OperatorViewTest, NextInstructionLineFollowsTheClockAndTheTable) {
    start(); // the first start writes an empty default table
    writeTable({"08:30:00*早操>每天<播音开-静态/srv/早操.PLF", "12:00:00*没有注释>星期二<b.mp3"});
    auto w = start();
    EXPECT_EQ(w->NextInstruction->text(),
              QStringLiteral("下一条指令：08:30:00  早操  播音开-静态/srv/早操.PLF"));

    // A new instruction shows at once, without waiting for a tick.
    ASSERT_TRUE(w->CommitInstruction(QStringLiteral("|08:10:00*没有注释>星期一<线路打开")));
    EXPECT_EQ(w->NextInstruction->text(), QStringLiteral("下一条指令：08:10:00  线路打开"));

    // 2026-12-07 is a Monday: after 08:30 nothing else falls due today.
    w->internalClock().set(QDateTime(QDate(2026, 12, 7), QTime(8, 30, 0)));
    w->refreshNextInstruction();
    EXPECT_EQ(w->NextInstruction->text(), QStringLiteral("今天没有更多指令"));
}

TEST_F(OperatorViewTest, EmptyTableSaysSo) {
    auto w = start();
    EXPECT_EQ(w->NextInstruction->text(), QStringLiteral("今天没有更多指令"));
}

TEST_F(OperatorViewTest, ClockHealthWarningShowsAndClears) {
    TimedatedMock mock(false);
    ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    ClockHealth health(mock.connection());
    clockHealth = &health;
    auto w = start();
    w->show();
    EXPECT_FALSE(w->ClockHealthLabel->isVisible());
    health.start();
    ASSERT_TRUE(waitUntil([&] { return w->ClockHealthLabel->isVisible(); }, 10000));
    EXPECT_EQ(w->ClockHealthLabel->text(),
              QStringLiteral("警告：系统时钟没有与网络时间同步，指令可能不准时"));

    mock.setNtp(true);
    health.check();
    ASSERT_TRUE(
        waitUntil([&] { return health.state() == ClockHealth::State::Synchronized; }, 10000));
    EXPECT_EQ(w->ClockHealthLabel->text(), QStringLiteral("系统时钟已与网络时间同步"));
}

TEST_F(OperatorViewTest, LogWindowShowsADayNewestFirst) {
    dir.write("Log/2026-12-07.log", "2026-12-07 07:00:00 第一行\n"
                                    "2026-12-07 07:30:00 第二行\r\n"
                                    "2026-12-07 08:00:00 第三行\n");
    dir.write("Log/2026-12-05.log", "2026-12-05 09:00:00 星期六\n");
    auto w = start();
    AsRunLogWindow* log = openLog(*w);
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_EQ(log->windowTitle(), QStringLiteral("运行记录"));
    EXPECT_EQ(log->day(), QDate(2026, 12, 7));
    EXPECT_EQ(shownLines(log),
              (QStringList{"2026-12-07 08:00:00 第三行", "2026-12-07 07:30:00 第二行",
                           "2026-12-07 07:00:00 第一行"}));

    log->DayPicker->setDate(QDate(2026, 12, 5));
    EXPECT_EQ(shownLines(log), QStringList{"2026-12-05 09:00:00 星期六"});
    log->DayPicker->setDate(QDate(2026, 12, 6));
    EXPECT_TRUE(shownLines(log).isEmpty());
    EXPECT_EQ(log->StatusLabel->text(), QStringLiteral("这一天没有运行记录"));
    // No day after today can be picked.
    log->DayPicker->setDate(QDate(2026, 12, 9));
    EXPECT_EQ(log->day(), QDate(2026, 12, 7));

    // Opening it again brings it back to today.
    log->DayPicker->setDate(QDate(2026, 12, 5));
    EXPECT_EQ(openLog(*w), log);
    EXPECT_EQ(log->day(), QDate(2026, 12, 7));
}

TEST_F(OperatorViewTest, LogWindowFollowsTodayAndMovesOnAtMidnight) {
    dir.write("Log/2026-12-07.log", "2026-12-07 07:00:00 第一行\n");
    auto w = start();
    AsRunLogWindow* log = openLog(*w);
    QFile file(dir.file("Log/2026-12-07.log"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("2026-12-07 08:00:01 新的一行\n");
    file.close();
    EXPECT_TRUE(waitUntil([&] { return shownLines(log).size() == 2; }, 10000));
    EXPECT_EQ(shownLines(log).first(), "2026-12-07 08:00:01 新的一行");

    clock.set(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 1)));
    dir.write("Log/2026-12-08.log", "2026-12-08 00:00:00 新的一天\n");
    EXPECT_TRUE(waitUntil([&] { return log->day() == QDate(2026, 12, 8); }, 10000));
    EXPECT_EQ(shownLines(log), QStringList{"2026-12-08 00:00:00 新的一天"});
}

TEST_F(OperatorViewTest, ClosingTheMainWindowClosesTheLogWindow) {
    auto w = start();
    QPointer<AsRunLogWindow> log = openLog(*w);
    prompter.answers = {Prompter::Answer::Yes};
    w->close();
    EXPECT_TRUE(waitUntil([&] { return log.isNull() || !log->isVisible(); }));
}
