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
#include <QHash>
#include <QStandardPaths>
#include <algorithm>

namespace campanor {

namespace {

struct Due {
    int second = 0;
    // What the table is sorted by before the time: lines of one second run
    // in that order.
    QStringView rulePrefix;
    QString line;
};

// Only a time spelt as the internal clock spells its seconds is ever due:
// its second of the day, else -1.
int secondOfDay(QStringView time) {
    if (time.size() != 8 || time[2] != u':' || time[5] != u':')
        return -1;
    int parts[3];
    for (int p = 0; p < 3; ++p) {
        const QChar high = time[p * 3], low = time[p * 3 + 1];
        if (high < u'0' || high > u'9' || low < u'0' || low > u'9')
            return -1;
        parts[p] = (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return -1;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

// The lines of a table due on the date, by second, and within a second in
// the order of the sorted table, so the first of them is the one the tick runs.
QList<Due> dueLines(const QString& table, const QDate& date, int ruleWeekday) {
    const QStringList lines = splitTableText(readTableFile(table).value);
    QList<Due> due;
    due.reserve(lines.size());
    for (const QString& line : lines) {
        const qsizetype star = line.indexOf(u'*');
        const int second = star == 8 ? secondOfDay(QStringView(line).left(8)) : -1;
        if (second < 0)
            continue;
        const auto instruction = Instruction::parse(line);
        if (!instruction || !dayRuleApplies(instruction->dayRule, date, ruleWeekday))
            continue;
        due.append({second, {}, line});
        due.back().rulePrefix = QStringView(due.back().line).mid(line.indexOf(u'>') + 1, 2);
    }
    // The table's own sort is stable on (day rule's first two characters,
    // time): the same order among the lines of one second.
    std::stable_sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        return a.second != b.second ? a.second < b.second : a.rulePrefix < b.rulePrefix;
    });
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
    return missingFileOf(recognizeAction(actionFieldOf(line)));
}

QString missingFileOf(const Action& action) {
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
    // A day rings the same few files many times: each is looked at once.
    struct Known {
        Action action;
        QString missing;
    };
    QHash<QString, Known> known;
    int last = -1;
    for (qsizetype i = 0; i < due.size(); ++i) {
        if (due[i].second <= last)
            continue; // passed over: another line of this second ran
        last = due[i].second;
        const QString line = due[i].line;
        const QString field = actionFieldOf(line);
        auto it = known.constFind(field);
        if (it == known.cend()) {
            const Action recognized = recognizeAction(field);
            it = known.insert(field, {recognized, missingFileOf(recognized)});
        }
        const Action& action = it->action;
        plan.instructions.append({line, table, it->missing});
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
