#include "calendar/HolidayImport.h"

#include <gtest/gtest.h>

namespace campanor::test {
namespace {

// "2026-10-01~2026-10-07 国庆节 放假" (the parameter after a slash when there is one).
QString shown(const CalendarEntry& entry) {
    const auto& d = entry.dates;
    QString text = QDate(d.firstYear, d.firstMonth, d.firstDay).toString(Qt::ISODate);
    if (d.lastYear != d.firstYear || d.lastMonth != d.firstMonth || d.lastDay != d.firstDay)
        text += u'~' + QDate(d.lastYear, d.lastMonth, d.lastDay).toString(Qt::ISODate);
    text += u' ' + entry.name + u' ';
    switch (entry.kind) {
    case CalendarKind::Holiday:
        text += QStringLiteral("放假");
        break;
    case CalendarKind::Table:
        text += QStringLiteral("换表");
        break;
    case CalendarKind::MakeUp:
        text += QStringLiteral("调休");
        break;
    }
    if (!entry.parameter.isEmpty())
        text += u'/' + entry.parameter;
    return text;
}

QStringList shown(const QList<CalendarEntry>& entries) {
    QStringList lines;
    for (const CalendarEntry& entry : entries)
        lines << shown(entry);
    return lines;
}

CalendarEntry makeUpDay(int year, int month, int day, const QString& weekday) {
    CalendarEntry entry;
    entry.dates.firstYear = entry.dates.lastYear = year;
    entry.dates.firstMonth = entry.dates.lastMonth = month;
    entry.dates.firstDay = entry.dates.lastDay = day;
    entry.name = QStringLiteral("国庆节");
    entry.kind = CalendarKind::MakeUp;
    entry.parameter = weekday;
    return entry;
}

TEST(HolidayImport, HolidayCnYearFileGivesRangesAndMakeUpDaysByTheirDates) {
    // Out of order, as a hand-merged file may be; the 2026 file carries the
    // next year's New Year days; the operator already chose the weekday of 10-10.
    const QByteArray json = R"({"year":2026,"days":[
        {"name":"国庆节","date":"2026-10-10","isOffDay":false},
        {"name":"国庆节","date":"2026-10-02","isOffDay":true},
        {"name":"国庆节","date":"2026-10-01","isOffDay":true},
        {"name":"国庆节","date":"2026-10-03","isOffDay":true},
        {"name":"国庆节","date":"2026-09-27","isOffDay":false},
        {"name":"中秋节","date":"2026-09-25","isOffDay":true},
        {"name":"中秋节","date":"2026-09-26","isOffDay":true},
        {"name":"元旦","date":"2026-12-31","isOffDay":true},
        {"name":"元旦","date":"2027-01-01","isOffDay":true},
        {"name":"元旦","date":"2027-01-02","isOffDay":true},
        {"name":"坏行","date":"2026-13-01","isOffDay":true}]})";
    Calendar existing;
    existing.entries().append(makeUpDay(2026, 10, 10, QStringLiteral("星期二")));

    const CalendarImport result = importHolidayCn(json, existing);

    EXPECT_EQ(
        shown(result.entries),
        (QStringList{"2026-09-25~2026-09-26 中秋节 放假", "2026-09-27 国庆节 调休",
                     "2026-10-01~2026-10-03 国庆节 放假", "2026-12-31~2027-01-02 元旦 放假"}));
    EXPECT_TRUE(result.problem.contains(u'1')) << result.problem.toStdString();

    EXPECT_TRUE(importHolidayCn("[1,2]", existing).entries.isEmpty());
    EXPECT_FALSE(importHolidayCn("[1,2]", existing).problem.isEmpty());
    EXPECT_FALSE(importHolidayCn("not json", existing).problem.isEmpty());
}

TEST(HolidayImport, ICalendarAllDayRangesRepeatsAndCancellationsWithinFourHundredDays) {
    const QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//school//cal//ZH\r\n"
                           // a range: DTEND is the day after the last
                           "BEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20261001\r\n"
                           "DTEND;VALUE=DATE:20261008\r\nSUMMARY:国庆假期\r\nEND:VEVENT\r\n"
                           // weekly, four times, one left out
                           "BEGIN:VEVENT\r\nUID:b\r\nDTSTART;VALUE=DATE:20260904\r\n"
                           "DTEND;VALUE=DATE:20260905\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\n"
                           "EXDATE;VALUE=DATE:20260911\r\nSUMMARY:周五停课\r\nEND:VEVENT\r\n"
                           // yearly for ever, from before the window
                           "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:20240910\r\n"
                           "RRULE:FREQ=YEARLY\r\nSUMMARY:教师节\r\nEND:VEVENT\r\n"
                           // cancelled
                           "BEGIN:VEVENT\r\nUID:d\r\nDTSTART;VALUE=DATE:20261111\r\n"
                           "DTEND;VALUE=DATE:20261112\r\nSTATUS:CANCELLED\r\n"
                           "SUMMARY:运动会放假\r\nEND:VEVENT\r\n"
                           // a timed workday and a timed meeting
                           "BEGIN:VEVENT\r\nUID:e\r\nDTSTART:20261010T080000\r\n"
                           "DTEND:20261010T170000\r\nSUMMARY:国庆补班\r\nEND:VEVENT\r\n"
                           "BEGIN:VEVENT\r\nUID:f\r\nDTSTART:20261012T150000\r\n"
                           "DTEND:20261012T160000\r\nSUMMARY:教研会\r\nEND:VEVENT\r\n"
                           "END:VCALENDAR\r\n";
    Calendar existing;
    existing.entries().append(makeUpDay(2026, 9, 25, QString()));
    existing.entries().last().kind = CalendarKind::Holiday;

    const CalendarImport result = importICalendar(ics, QDate(2026, 9, 1), existing);

    EXPECT_EQ(shown(result.entries),
              (QStringList{"2026-09-04 周五停课 放假", "2026-09-10 教师节 放假",
                           "2026-09-18 周五停课 放假", "2026-10-01~2026-10-07 国庆假期 放假",
                           "2026-10-10 国庆补班 调休", "2027-09-10 教师节 放假"}));
    EXPECT_TRUE(result.problem.isEmpty());
    EXPECT_FALSE(importICalendar("hello", QDate(2026, 9, 1), existing).problem.isEmpty());
}

} // namespace
} // namespace campanor::test
