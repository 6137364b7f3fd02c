#pragma once

#include "calendar/Calendar.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace campanor {

// An entry as the operator types or picks it.
struct CalendarEntryForm {
    QString dates; // "2026年10月1日~2026年10月7日", "每年5月1日", or "2026-10-01~2026-10-07"
    QString name;
    CalendarKind kind = CalendarKind::Holiday;
    QString parameter; // the table of a 换表 entry, the weekday of a 调休 one
};

struct CheckedEntry {
    std::optional<CalendarEntry> entry;
    // Why the form is refused, naming the problem; empty when it is not.
    QString refusal;
};

// A make-up day without its weekday is refused unless `weekdayMayWait` (an
// imported one the operator edits before choosing).
CheckedEntry checkEntryForm(const CalendarEntryForm& form, bool weekdayMayWait);

// A warning when another entry (not the one at `except`) of the same kind
// has the same dates; empty when none has.
QString sameDatesWarning(const Calendar& calendar, const CalendarEntry& entry, int except = -1);

// Indices of the entries in date order: yearly entries by month and day
// first, then dated ones; the file order on equal dates.
QList<int> entriesInDateOrder(const Calendar& calendar);

// What a day of the month view is marked as.
enum class DayMark { None, Holiday, Table, MakeUp };
DayMark dayMark(const Calendar& calendar, const QDate& day);

// "明天：放假（国庆节）", "明天：调休，按星期二", "明天：换表 EXAM.DTT"; empty
// for an ordinary day.
QString tomorrowText(const Calendar& calendar, const QDate& today, const QString& defaultTable);
// The make-up days from today to a week ahead whose weekday is not chosen yet.
QString makeUpWithoutWeekdayWarning(const Calendar& calendar, const QDate& today);

} // namespace campanor
