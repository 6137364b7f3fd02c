#pragma once

#include <QDate>
#include <QString>

namespace campanor {

// True when the line's time equals the internal clock's text and its day rule
// applies on `today`, the date of that same second (across midnight the
// system's date may already be another). A malformed line is simply never due.
// `ruleWeekday` (1 Monday … 7 Sunday) is what 星期X rules are tested against:
// a make-up workday runs as another weekday; 0 means the date's own.
bool IsInstructionDue(const QString& line, const QString& clockText, const QDate& today,
                      int ruleWeekday = 0);

// The day-rule part of the test alone.
bool dayRuleApplies(const QString& rule, const QDate& today, int ruleWeekday = 0);

} // namespace campanor
