#include "NextInstruction.h"

#include "Matching.h"

namespace campanor {

namespace {

// A line can only ever be due when its time is spelt as the internal clock
// spells its seconds.
bool isClockText(QStringView time) {
    if (time.size() != 8 || time[2] != u':' || time[5] != u':')
        return false;
    for (int i : {0, 1, 3, 4, 6, 7}) {
        if (time[i] < u'0' || time[i] > u'9')
            return false;
    }
    return time.left(2) <= u"23" && time[3] <= u'5' && time[6] <= u'5';
}

} // namespace

std::optional<Instruction> findNextInstruction(const QStringList& lines, const QString& clockText,
                                               const QDate& day, int ruleWeekday, bool holiday) {
    std::optional<Instruction> best;
    if (holiday)
        return best;
    for (const QString& line : lines) {
        const qsizetype star = line.indexOf(u'*');
        if (star != 8)
            continue;
        const QStringView time = QStringView(line).left(8);
        // Texts of the same form compare as their times do.
        if (time <= QStringView(clockText) || !isClockText(time))
            continue;
        if (best && time >= QStringView(best->time))
            continue;
        auto instruction = Instruction::parse(line);
        if (instruction && dayRuleApplies(instruction->dayRule, day, ruleWeekday))
            best = std::move(instruction);
    }
    return best;
}

QString nextInstructionText(const std::optional<Instruction>& next) {
    if (!next)
        return QStringLiteral("今天没有更多指令");
    QString text = QStringLiteral("下一条指令：") + next->time;
    if (!next->shownComment().isEmpty())
        text += QStringLiteral("  ") + next->shownComment();
    return text + QStringLiteral("  ") + next->action;
}

bool NextInstructionCache::update(const QStringList& lines, const QString& clockText,
                                  const QDate& day, int ruleWeekday, bool holiday) {
    // QStringList compares shared copies at once, so an unchanged table is cheap.
    // A clock set back within the day may have earlier lines before it again.
    if (valid_ && day == day_ && ruleWeekday == ruleWeekday_ && holiday == holiday_ &&
        lines == lines_ && clockText >= clock_ && (!next_ || clockText < next_->time)) {
        clock_ = clockText;
        return false;
    }
    auto next = findNextInstruction(lines, clockText, day, ruleWeekday, holiday);
    const bool changed =
        !valid_ || next.has_value() != next_.has_value() || (next && next->line() != next_->line());
    lines_ = lines;
    day_ = day;
    ruleWeekday_ = ruleWeekday;
    holiday_ = holiday;
    clock_ = clockText;
    next_ = std::move(next);
    valid_ = true;
    return changed;
}

} // namespace campanor
