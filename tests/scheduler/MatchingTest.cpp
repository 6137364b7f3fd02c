#include "scheduler/Matching.h"

#include <gtest/gtest.h>

using namespace campanor;

namespace {
const QDate kMonday(2026, 12, 7);
const QDate kSunday(2026, 12, 13);
} // namespace

TEST(Matching, TimeMustMatchTheInternalClockExactly) {
    const QString line = QStringLiteral("07:30:00*没有注释>星期一<a.mp3");
    EXPECT_TRUE(IsInstructionDue(line, "07:30:00", kMonday));
    EXPECT_FALSE(IsInstructionDue(line, "07:30:01", kMonday));
    EXPECT_FALSE(IsInstructionDue(line, "07:30:00", kSunday));
}

TEST(Matching, WeekdaysWithSundayAndExactText) {
    for (int d = 0; d < 7; ++d) {
        const QDate day = kMonday.addDays(d);
        const QString names[] = {"一", "二", "三", "四", "五", "六", "日"};
        for (int n = 0; n < 7; ++n)
            EXPECT_EQ(dayRuleApplies(QStringLiteral("星期") + names[n], day), n == d);
    }
    EXPECT_FALSE(dayRuleApplies(QStringLiteral("星期一 "), kMonday));
    EXPECT_TRUE(dayRuleApplies(QStringLiteral("每天"), kSunday));
}

TEST(Matching, DayOfMonthOnlyInMonthsThatHaveIt) {
    const QString rule = QStringLiteral("每月31日");
    int fired = 0;
    for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1))
        fired += dayRuleApplies(rule, d);
    EXPECT_EQ(fired, 7);
    EXPECT_TRUE(dayRuleApplies(QStringLiteral("每月5日"), QDate(2026, 3, 5)));
    EXPECT_FALSE(dayRuleApplies(QStringLiteral("每月05日"), QDate(2026, 3, 5)));
}

TEST(Matching, DayOfYearIncluding29February) {
    const QString rule = QStringLiteral("每年2月29日");
    EXPECT_TRUE(dayRuleApplies(rule, QDate(2028, 2, 29)));
    EXPECT_FALSE(dayRuleApplies(rule, QDate(2026, 3, 1)));
    EXPECT_FALSE(dayRuleApplies(rule, QDate(2028, 2, 28)));
    EXPECT_TRUE(dayRuleApplies(QStringLiteral("每年12月7日"), kMonday));
    EXPECT_FALSE(dayRuleApplies(QStringLiteral("每年1月27日"), QDate(2026, 12, 7)));
}

TEST(Matching, DatedRuleOnlyOnThatDay) {
    const QString rule = QStringLiteral("2005年5月1日");
    EXPECT_TRUE(dayRuleApplies(rule, QDate(2005, 5, 1)));
    EXPECT_FALSE(dayRuleApplies(rule, QDate(2006, 5, 1)));
    EXPECT_FALSE(dayRuleApplies(rule, QDate(2005, 5, 11)));
    EXPECT_TRUE(dayRuleApplies(QStringLiteral("2026年12月7日"), kMonday));
}

TEST(Matching, MalformedLinesAreNeverDue) {
    const QDate day(2026, 12, 7);
    EXPECT_FALSE(IsInstructionDue("no delimiters at all", "08:00:00", day));
    EXPECT_FALSE(IsInstructionDue(QStringLiteral("08:00:00*x每天<a"), "08:00:00", day));
    EXPECT_FALSE(IsInstructionDue(QStringLiteral("08:00:00*x>每天"), "08:00:00", day));
    EXPECT_FALSE(IsInstructionDue(QStringLiteral("08:00:00*x>每年12<a"), "08:00:00", day));
    EXPECT_FALSE(IsInstructionDue(QStringLiteral("08:00:00*x>2026年12月7<a"), "08:00:00", day));
    EXPECT_FALSE(IsInstructionDue(QStringLiteral("08:00:00*x>something<a"), "08:00:00", day));
}
