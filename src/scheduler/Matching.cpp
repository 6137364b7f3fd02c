#include "Matching.h"

#include "table/InstructionLine.h"

#include <array>

namespace campanor {

namespace {

const std::array<QString, 7> kWeekdays = {QStringLiteral("星期一"), QStringLiteral("星期二"),
                                          QStringLiteral("星期三"), QStringLiteral("星期四"),
                                          QStringLiteral("星期五"), QStringLiteral("星期六"),
                                          QStringLiteral("星期日")};

// The text between `from` and the first occurrence of `end`; nullopt when
// `end` is missing or lies before `from`.
std::optional<QString> textUpTo(const QString& rule, qsizetype from, QChar end) {
    const qsizetype at = rule.indexOf(end);
    if (at < from)
        return std::nullopt;
    return rule.mid(from, at - from);
}

bool monthAndDayMatch(const QString& rule, qsizetype monthStart, const QDate& today) {
    const auto month = textUpTo(rule, monthStart, u'月');
    if (!month)
        return false;
    const auto day = textUpTo(rule, rule.indexOf(u'月') + 1, u'日');
    return day && *month == QString::number(today.month()) && *day == QString::number(today.day());
}

} // namespace

bool dayRuleApplies(const QString& rule, const QDate& today, int ruleWeekday) {
    if (rule == QStringLiteral("每天"))
        return true;
    for (int i = 0; i < 7; ++i) {
        if (rule == kWeekdays[i])
            return (ruleWeekday > 0 ? ruleWeekday : today.dayOfWeek()) == i + 1;
    }
    if (rule.startsWith(QStringLiteral("每月"))) {
        QString day = rule;
        day.remove(QStringLiteral("每月")).remove(u'日');
        return day == QString::number(today.day());
    }
    if (rule.startsWith(QStringLiteral("每年")))
        return monthAndDayMatch(rule, 2, today);
    return rule.left(4) == QString::number(today.year()) && monthAndDayMatch(rule, 5, today);
}

bool IsInstructionDue(const QString& line, const QString& clockText, const QDate& today,
                      int ruleWeekday) {
    const qsizetype star = line.indexOf(u'*');
    if (star < 0 || QStringView(line).left(star) != clockText)
        return false;
    const auto instruction = Instruction::parse(line);
    return instruction && dayRuleApplies(instruction->dayRule, today, ruleWeekday);
}

} // namespace campanor
