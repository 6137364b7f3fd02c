#pragma once

#include "table/InstructionLine.h"

#include <QDate>
#include <QStringList>
#include <optional>

namespace campanor {

// The instruction that falls due next on `day`, after the second `clockText`
// (hh:mm:ss, the internal clock). Of several lines due at that second it is the
// one the tick carries out: the first in table order. nullopt when no line is
// due for the rest of the day, and always on a holiday. `ruleWeekday` as the
// tick tests weekday rules (0: the date's own).
std::optional<Instruction> findNextInstruction(const QStringList& lines, const QString& clockText,
                                               const QDate& day, int ruleWeekday = 0,
                                               bool holiday = false);

// The operator's line: time, comment and action, or "今天没有更多指令".
QString nextInstructionText(const std::optional<Instruction>& next);

// Keeps the answer between ticks: it is found again only when the table, the
// day or the due second changes, or the clock goes back, so a tick usually
// costs a few comparisons.
class NextInstructionCache {
  public:
    // True when the answer changed.
    bool update(const QStringList& lines, const QString& clockText, const QDate& day,
                int ruleWeekday = 0, bool holiday = false);
    const std::optional<Instruction>& next() const { return next_; }

  private:
    QStringList lines_;
    QDate day_;
    int ruleWeekday_ = 0;
    bool holiday_ = false;
    QString clock_;
    std::optional<Instruction> next_;
    bool valid_ = false;
};

} // namespace campanor
