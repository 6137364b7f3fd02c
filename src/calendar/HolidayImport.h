#pragma once

#include "calendar/Calendar.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace campanor {

// What an import file offers to add to the calendar: the entries not yet in
// it, in date order, and what kept the file (or parts of it) from being read.
struct CalendarImport {
    QList<CalendarEntry> entries;
    // Empty when the whole file was read.
    QString problem;
};

// A year file in the holiday-cn JSON form. Consecutive off-days with the same
// name become one 放假 range; each workday a 调休 entry whose weekday is left
// for the operator (the official notices do not say which weekday it follows).
// The dates count, not the file's year: a December file lists next January.
CalendarImport importHolidayCn(const QByteArray& json, const Calendar& existing);

// An iCalendar file exported from a school's calendar. All-day events become
// 放假 ranges; an event whose summary speaks of a workday (补班, 上班, 调休) a
// 调休 entry without a weekday. Repeating events are expanded over the 400
// days from `from`; cancelled events and occurrences are left out.
CalendarImport importICalendar(const QByteArray& ics, const QDate& from, const Calendar& existing);

// Whether the calendar holds an entry of the same kind on the same dates.
bool calendarHolds(const Calendar& calendar, const CalendarEntry& entry);

// Removes the characters that separate a calendar file's fields.
QString withoutCalendarDelimiters(const QString& text);

} // namespace campanor
