#pragma once

#include <QDate>
#include <QString>

namespace campanor {

// True when the line's time equals the internal clock's text and its day rule
// applies on `today`, the date of that same second (across midnight the
// system's date may already be another). A malformed line is simply never due.
bool IsInstructionDue(const QString& line, const QString& clockText, const QDate& today);

// The day-rule part of the test alone.
bool dayRuleApplies(const QString& rule, const QDate& today);

} // namespace campanor
