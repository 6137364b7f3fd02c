#include "DayPlan.h"

#include "common/ProgramFolder.h"
#include "common/Settings.h"
#include "scheduler/Action.h"
#include "scheduler/CommandLine.h"
#include "scheduler/Matching.h"
#include "table/InstructionLine.h"
#include "table/InstructionTable.h"
#include "table/TableText.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTime>
#include <algorithm>

namespace campanor {

namespace {

struct Due {
    int second = 0;
    QString line;
};

// The lines of a table due on the date, by second; lines of one second keep
// their table order, so the first of them is the one the tick runs.
QList<Due> dueLines(const QString& table, const QDate& date, int ruleWeekday) {
    QStringList lines = splitTableText(readTableFile(table).value);
    sortInstructionLines(lines);
    QList<Due> due;
    for (const QString& line : std::as_const(lines)) {
        const auto instruction = Instruction::parse(line);
        if (!instruction || !dayRuleApplies(instruction->dayRule, date, ruleWeekday))
            continue;
        // Only a time spelt as the internal clock spells its seconds is ever due.
        const QTime time = QTime::fromString(instruction->time, QStringLiteral("HH:mm:ss"));
        if (!time.isValid() || time.toString(QStringLiteral("HH:mm:ss")) != instruction->time)
            continue;
        due.append({time.msecsSinceStartOfDay() / 1000, line});
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const Due& a, const Due& b) { return a.second < b.second; });
    return due;
}

QString missingProgram(const QString& commandLine) {
    const auto arguments = splitCommandLine(commandLine);
    if (!arguments || arguments->isEmpty())
        return QStringLiteral("命令行无法拆分：") + commandLine;
    const QString program = QString::fromLocal8Bit(arguments->front());
    if (program.contains(u'/')) {
        const QFileInfo file(program);
        if (!file.isFile() || !file.isExecutable())
            return QStringLiteral("程序不存在或不能执行：") + program;
        return {};
    }
    if (QStandardPaths::findExecutable(program).isEmpty())
        return QStringLiteral("找不到程序：") + program;
    return {};
}

} // namespace

QString missingFileOf(const QString& line) {
    const Action action = recognizeAction(actionFieldOf(line));
    const QString& path = action.parameter;
    switch (action.kind) {
    case ActionKind::Ring:
        return QFileInfo(path).isFile() ? QString() : QStringLiteral("铃声文件不存在：") + path;
    case ActionKind::StartBackStatic:
    case ActionKind::StartFrontStatic:
    case ActionKind::StartBackMemory:
    case ActionKind::StartBackDynamic:
        return QFileInfo(path).isFile() ? QString() : QStringLiteral("曲目表文件不存在：") + path;
    case ActionKind::SearchBackSorted:
    case ActionKind::SearchFrontSorted:
    case ActionKind::SearchBackRandom:
    case ActionKind::SearchFrontRandom:
        return QFileInfo(path).isDir() ? QString() : QStringLiteral("搜索文件夹不存在：") + path;
    case ActionKind::OpenTable:
        return QFileInfo(path).isFile() ? QString() : QStringLiteral("指令表不存在：") + path;
    case ActionKind::LaunchProgram:
        return missingProgram(path);
    default:
        return {};
    }
}

QString dayLineText(const QDate& date, const CalendarDay& day) {
    QStringList parts{
        QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()),
        weekdayName(date.dayOfWeek())};
    if (day.holiday)
        parts << QStringLiteral("放假") + (day.holidayName.isEmpty()
                                               ? QString()
                                               : QStringLiteral("（%1）").arg(day.holidayName));
    if (day.makeUp)
        parts << (day.makeUpWithoutWeekday
                      ? QStringLiteral("调休（未选星期）")
                      : QStringLiteral("调休（按%1）").arg(weekdayName(day.ruleWeekday)));
    if (day.tableFromCalendar)
        parts << QStringLiteral("换表") + (day.tableName.isEmpty()
                                               ? QString()
                                               : QStringLiteral("（%1）").arg(day.tableName));
    parts << QStringLiteral("表：") + QFileInfo(day.table).fileName();
    return parts.join(u' ');
}

DayPlan planDay(const Calendar& calendar, const QDate& date, const QString& defaultTable) {
    DayPlan plan;
    plan.date = date;
    plan.day = calendar.resolve(date, defaultTable);
    plan.dayLine = dayLineText(date, plan.day);
    if (plan.day.holiday)
        return plan;
    QString table = plan.day.table;
    QList<Due> due = dueLines(table, date, plan.day.ruleWeekday);
    int last = -1;
    for (qsizetype i = 0; i < due.size(); ++i) {
        if (due[i].second <= last)
            continue; // passed over: another line of this second ran
        last = due[i].second;
        const QString line = due[i].line;
        plan.instructions.append({line, table, missingFileOf(line)});
        const Action action = recognizeAction(actionFieldOf(line));
        if (action.kind != ActionKind::OpenTable)
            continue;
        // The other table's lines are matched from the next second on.
        table = action.parameter;
        due = dueLines(table, date, plan.day.ruleWeekday);
        i = -1;
    }
    return plan;
}

QString defaultTableIn(const QString& programFolder) {
    const Settings settings(programFolder);
    const QString stored =
        readRecordFile(settings.path(file::DefaultDTT), Settings::kMaxValueLength).value;
    if (!stored.isEmpty() && QFileInfo::exists(stored))
        return stored;
    return settings.path(file::DefaultTable);
}

} // namespace campanor
