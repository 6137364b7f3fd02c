#include "calendar/Calendar.h"
#include "calendar/CalendarFile.h"
#include "fixtures/TempFolder.h"
#include "scheduler/Matching.h"
#include "scheduler/NextInstruction.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

namespace {

Calendar calendarOf(const QString& text, QStringList* problems = nullptr) {
    return Calendar::fromText(text, problems);
}

} // namespace

TEST(CalendarResolution, TablesHolidaysMakeUpDaysAndYearlyDates) {
    QStringList problems;
    const Calendar calendar = calendarOf(
        QStringLiteral("每年5月1日~每年9月30日*夏季>换表</t/SUMMER.DTT|"
                       "2026年6月8日~2026年6月12日*期末考试>换表</t/EXAM.DTT|"
                       "2026年6月8日~2026年6月12日*补考>换表</t/RETAKE.DTT|"
                       "2026年10月1日~2026年10月7日*国庆节>放假<|"
                       "2026年10月10日*国庆补班>调休<星期二|2026年10月11日*>调休<|"
                       "每年12月20日~每年1月5日*寒假>放假<|每年2月29日*闰日>放假<|"
                       "2026年13月1日*坏>放假<|2026年10月9日~2026年10月8日*倒>放假<|"
                       "2026年05月1日*零>放假<|2026年5月1日*x>放假<多余|2026年5月2日*>休息<\r\n"),
        &problems);
    const QString def = QStringLiteral("/t/Default.DTT");

    // Odd entries are said and skipped; the rest is kept in file order.
    EXPECT_EQ(calendar.entries().size(), 8);
    EXPECT_EQ(problems.size(), 5) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems.value(0).contains(QStringLiteral("2026年13月1日")));
    // What is read is written back the same.
    EXPECT_EQ(calendarOf(calendar.text()).text(), calendar.text());
    EXPECT_TRUE(calendar.text().startsWith(QStringLiteral("每年5月1日~每年9月30日*夏季>换表<")));

    // The shortest span wins (an exam week inside the summer season), the
    // later entry on equal spans.
    EXPECT_EQ(calendar.resolve(QDate(2026, 6, 1), def).table, "/t/SUMMER.DTT");
    const CalendarDay exam = calendar.resolve(QDate(2026, 6, 9), def);
    EXPECT_EQ(exam.table, "/t/RETAKE.DTT");
    EXPECT_TRUE(exam.tableFromCalendar);
    EXPECT_EQ(exam.tableName, QStringLiteral("补考"));
    EXPECT_EQ(calendar.resolve(QDate(2026, 10, 1), def).table, def);
    EXPECT_FALSE(calendar.resolve(QDate(2026, 10, 1), def).tableFromCalendar);

    // A make-up day is a workday even inside a holiday range.
    const CalendarDay holiday = calendar.resolve(QDate(2026, 10, 3), def);
    EXPECT_TRUE(holiday.holiday);
    EXPECT_EQ(holiday.holidayName, QStringLiteral("国庆节"));
    EXPECT_EQ(holiday.ruleWeekday, 6);
    const CalendarDay makeUp = calendar.resolve(QDate(2026, 10, 10), def);
    EXPECT_FALSE(makeUp.holiday);
    EXPECT_TRUE(makeUp.makeUp);
    EXPECT_EQ(makeUp.ruleWeekday, 2);
    const CalendarDay unchosen = calendar.resolve(QDate(2026, 10, 11), def);
    EXPECT_TRUE(unchosen.makeUpWithoutWeekday);
    EXPECT_EQ(unchosen.ruleWeekday, 7) << "its own weekday until one is chosen";

    // A yearly range over New Year, in any year.
    for (const QDate day : {QDate(2026, 12, 20), QDate(2027, 1, 1), QDate(2031, 1, 5)})
        EXPECT_EQ(calendar.resolve(day, def).holidayName, QStringLiteral("寒假"))
            << day.toString().toStdString();
    EXPECT_FALSE(calendar.resolve(QDate(2027, 1, 6), def).holiday);
    EXPECT_FALSE(calendar.resolve(QDate(2026, 12, 19), def).holiday);
    // 每年2月29日 only in leap years.
    EXPECT_TRUE(calendar.resolve(QDate(2028, 2, 29), def).holiday);
    EXPECT_FALSE(calendar.resolve(QDate(2027, 2, 28), def).holiday);
    EXPECT_FALSE(calendar.resolve(QDate(2027, 3, 1), def).holiday);
    // Spans: a yearly range over New Year counts its days across it.
    EXPECT_EQ(CalendarDates::parse(QStringLiteral("每年12月20日~每年1月5日"))->span(), 17);
    EXPECT_EQ(CalendarDates::parse(QStringLiteral("2026年10月1日~2026年10月7日"))->span(), 7);
}

TEST(CalendarResolution, AMakeUpDayRemapsOnlyWeekdayRules) {
    // Saturday 2026-10-10 runs as a Tuesday.
    const Calendar calendar = calendarOf(QStringLiteral("2026年10月10日*补班>调休<星期二"));
    const QDate saturday(2026, 10, 10);
    const int weekday = calendar.resolve(saturday, QString()).ruleWeekday;
    const QString line = QStringLiteral("07:30:00*没有注释>%1<线路打开");
    auto due = [&](const QString& rule) {
        return IsInstructionDue(line.arg(rule), QStringLiteral("07:30:00"), saturday, weekday);
    };
    EXPECT_TRUE(due(QStringLiteral("星期二")));
    EXPECT_FALSE(due(QStringLiteral("星期六")));
    EXPECT_TRUE(due(QStringLiteral("每天")));
    // Month, year and dated rules go by the real date.
    EXPECT_TRUE(due(QStringLiteral("每月10日")));
    EXPECT_FALSE(due(QStringLiteral("每月13日")));
    EXPECT_TRUE(due(QStringLiteral("每年10月10日")));
    EXPECT_TRUE(due(QStringLiteral("2026年10月10日")));
    EXPECT_FALSE(due(QStringLiteral("2026年10月13日")));

    // The next-instruction line goes by the same weekday, and shows nothing on a holiday.
    const QStringList lines{QStringLiteral("07:40:00*周六>星期六<线路打开"),
                            QStringLiteral("07:50:00*周二>星期二<线路打开")};
    const auto next = findNextInstruction(lines, QStringLiteral("07:00:00"), saturday, weekday);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->comment, QStringLiteral("周二"));
    EXPECT_FALSE(findNextInstruction(lines, QStringLiteral("07:00:00"), saturday, 6, true));
}

TEST(CalendarFile, ReadsWritesAndNeverRewritesWhatItCannotRead) {
    TempFolder home;
    CalendarFile missing(home.path());
    EXPECT_FALSE(missing.load());
    EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(missing.warning().isEmpty());

    // Written in the house format: one quoted GB18030 record, CR LF.
    Calendar calendar =
        Calendar::fromText(QStringLiteral("2026年10月1日~2026年10月7日*国庆节>放假<"));
    ASSERT_TRUE(missing.save(calendar));
    EXPECT_EQ(home.bytes("Calendar.txt"),
              TempFolder::quoted(QStringLiteral("2026年10月1日~2026年10月7日*国庆节>放假<")));
    CalendarFile again(home.path());
    EXPECT_TRUE(again.load());
    EXPECT_EQ(again.calendar().text(), calendar.text());

    // Odd entries: the rest is used, and the main window says so.
    home.write("Calendar.txt", TempFolder::quoted(QStringLiteral(
                                   "2026年10月1日*国庆节>放假<|乱写的|2026年10月2日")));
    EXPECT_TRUE(again.load());
    EXPECT_EQ(again.calendar().entries().size(), 1);
    EXPECT_EQ(again.problems().size(), 2);
    EXPECT_TRUE(again.warning().contains(QStringLiteral("2 项")));

    // Bytes that are not GB18030: not used and never written over.
    const QByteArray broken = "\"2026\xff\xff\xff*x>\xe6\x94\xbe\"\r\n";
    home.write("Calendar.txt", broken);
    EXPECT_FALSE(again.load());
    EXPECT_TRUE(again.calendar().isEmpty());
    EXPECT_FALSE(again.warning().isEmpty());
    EXPECT_FALSE(again.save(calendar));
    EXPECT_EQ(home.bytes("Calendar.txt"), broken);
    // Cut short (no closing quotation mark): the same.
    home.write("Calendar.txt", encodeLocal(QStringLiteral("\"2026年10月1日*x>")));
    EXPECT_FALSE(again.load());
    EXPECT_FALSE(again.writable());
}
