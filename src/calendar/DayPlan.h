#pragma once

#include "Calendar.h"
#include "scheduler/Action.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace campanor {

// One instruction the schedule will carry out on the day.
struct PlannedInstruction {
    QString line;  // as stored in its table
    QString table; // the table it comes from
    // Why the action will fail for a missing file ("铃声文件不存在：…"), else empty.
    QString missing;
};

// What a day holds, as the schedule will run it.
struct DayPlan {
    QDate date;
    CalendarDay day;
    // "2026年10月10日 星期六 调休（按星期二） 表：DEFAULT.DTT"
    QString dayLine;
    // In the order they run: one a second, the first due line of the table in
    // table order; after an "打开表" line the other table from the next second.
    // None on a holiday.
    QList<PlannedInstruction> instructions;
};

// `calendar` may be empty: the day then starts on the default table.
DayPlan planDay(const Calendar& calendar, const QDate& date, const QString& defaultTable);

// The day line of a resolved date.
QString dayLineText(const QDate& date, const CalendarDay& day);

// What a line's action needs and does not find (sound, playlist, table,
// program, search folder), or empty.
QString missingFileOf(const QString& line);
QString missingFileOf(const Action& action);

// The default table the program would start on in a program folder.
QString defaultTableIn(const QString& programFolder);

} // namespace campanor
