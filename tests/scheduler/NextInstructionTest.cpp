#include "scheduler/NextInstruction.h"
#include "table/TableText.h"

#include <gtest/gtest.h>

using namespace campanor;

namespace {

const QDate kAMonday(2026, 12, 7);
const QDate kATuesday(2026, 12, 8);

// Lines in the order the loaded table keeps them.
QStringList table(QStringList lines) {
    sortInstructionLines(lines);
    return lines;
}

QString nextLine(const QStringList& lines, const QString& clock, const QDate& day) {
    const auto next = findNextInstruction(lines, clock, day);
    return next ? next->line() : QString();
}

} // namespace

TEST(NextInstruction, EarliestLaterLineWhoseDayRuleApplies) {
    const QStringList lines = table({
        "07:00:00*早读>每天<a.mp3",
        "08:00:00*没有注释>星期二<b.mp3",
        "09:00:00*周一升旗>星期一<c.mp3",
        "12:00:00*午休>每天<d.mp3",
        "10:00:00*元旦>2027年1月1日<e.mp3",
    });
    EXPECT_EQ(nextLine(lines, "06:59:59", kAMonday), "07:00:00*早读>每天<a.mp3");
    // The line of the current second has had its tick already.
    EXPECT_EQ(nextLine(lines, "07:00:00", kAMonday), "09:00:00*周一升旗>星期一<c.mp3");
    EXPECT_EQ(nextLine(lines, "07:00:00", kATuesday), "08:00:00*没有注释>星期二<b.mp3");
    EXPECT_EQ(nextLine(lines, "12:00:00", kAMonday), QString());
}

TEST(NextInstruction, OfLinesDueAtOneSecondTheOneTheTickCarriesOut) {
    // A dated line comes before a daily one in the table, and the tick takes
    // the first line that is due.
    const QStringList lines = table({
        "08:00:00*每天的>每天<daily.mp3",
        "08:00:00*今天的>2026年12月7日<dated.mp3",
        "08:00:00*星期的>星期一<weekday.mp3",
    });
    EXPECT_EQ(nextLine(lines, "07:00:00", kAMonday), "08:00:00*今天的>2026年12月7日<dated.mp3");
    EXPECT_EQ(nextLine(lines, "07:00:00", kATuesday), "08:00:00*每天的>每天<daily.mp3");
}

TEST(NextInstruction, LinesThatCanNeverFallDueAreLeftOut) {
    const QStringList lines = {
        "7:30:00*短的时间>每天<a.mp3",    "24:00:00*没有这一秒>每天<b.mp3",
        "09:61:00*没有这一分>每天<c.mp3", "09:00:00 没有星号>每天<d.mp3",
        "10:00:00*没有周期<e.mp3",        "11:00:00*好的>每天<f.mp3",
    };
    EXPECT_EQ(nextLine(lines, "00:00:00", kAMonday), "11:00:00*好的>每天<f.mp3");
}

TEST(NextInstruction, AcrossMidnightTheNewDaysRulesApply) {
    const QStringList lines = table({
        "00:00:05*周二零点>星期二<a.mp3",
        "23:00:00*熄灯>每天<b.mp3",
        "00:30:00*周一零点半>星期一<c.mp3",
    });
    EXPECT_EQ(nextInstructionText(findNextInstruction(lines, "23:59:59", kAMonday)),
              QStringLiteral("今天没有更多指令"));
    EXPECT_EQ(nextLine(lines, "00:00:00", kATuesday), "00:00:05*周二零点>星期二<a.mp3");
    EXPECT_EQ(nextLine(lines, "00:00:05", kATuesday), "23:00:00*熄灯>每天<b.mp3");
}

TEST(NextInstruction, EmptyTableAndTheShownText) {
    EXPECT_EQ(nextInstructionText(findNextInstruction({}, "08:00:00", kAMonday)),
              QStringLiteral("今天没有更多指令"));
    EXPECT_EQ(
        nextInstructionText(Instruction::parse("07:30:00*早操>每天<播音开-静态/srv/早操.PLF")),
        QStringLiteral("下一条指令：07:30:00  早操  播音开-静态/srv/早操.PLF"));
    EXPECT_EQ(nextInstructionText(Instruction::parse("07:30:00*没有注释>每天<线路打开")),
              QStringLiteral("下一条指令：07:30:00  线路打开"));
}

TEST(NextInstruction, CacheFollowsTheClockTheDayAndTheTable) {
    QStringList lines = table({"08:00:00*一>每天<a.mp3", "09:00:00*二>星期一<b.mp3"});
    NextInstructionCache cache;
    EXPECT_TRUE(cache.update(lines, "07:00:00", kAMonday));
    EXPECT_EQ(cache.next()->comment, "一");
    EXPECT_FALSE(cache.update(lines, "07:59:59", kAMonday));
    EXPECT_TRUE(cache.update(lines, "08:00:00", kAMonday));
    EXPECT_EQ(cache.next()->comment, "二");
    EXPECT_TRUE(cache.update(lines, "09:00:00", kAMonday));
    EXPECT_FALSE(cache.next().has_value());
    EXPECT_FALSE(cache.update(lines, "09:00:01", kAMonday));
    // Midnight: the first line of the new day.
    EXPECT_TRUE(cache.update(lines, "00:00:00", kATuesday));
    EXPECT_EQ(cache.next()->comment, "一");

    // A table change is seen at the next update, even with the clock standing still.
    lines.prepend("07:00:00*新的>每天<c.mp3");
    EXPECT_TRUE(cache.update(lines, "00:00:01", kATuesday));
    EXPECT_EQ(cache.next()->comment, "新的");
    lines[0] = "07:00:00*改过的>每天<c.mp3";
    EXPECT_TRUE(cache.update(lines, "00:00:02", kATuesday));
    EXPECT_EQ(cache.next()->comment, "改过的");

    // The internal clock set back within the day (a re-synchronisation).
    EXPECT_TRUE(cache.update(lines, "09:30:00", kATuesday));
    EXPECT_FALSE(cache.next().has_value());
    EXPECT_TRUE(cache.update(lines, "01:30:00", kATuesday));
    EXPECT_EQ(cache.next()->comment, "改过的");
}
