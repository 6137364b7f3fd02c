#pragma once

#include <QString>
#include <QStringList>

namespace campanor {

inline constexpr int kMaxInstructions = 300;

// The instruction lines of a table text: the text after each "|" up to the
// next one. Text before the first "|" is ignored; at most `limit` lines.
QStringList splitTableText(const QString& tableText, int limit = kMaxInstructions);

// Stable ascending order by the day rule's first two characters (by
// character code), then hour, minute and second as numbers.
void sortInstructionLines(QStringList& lines);

// The table text without every occurrence of the line.
QString removeInstruction(const QString& tableText, const QString& line);

} // namespace campanor
