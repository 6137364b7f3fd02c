#pragma once

#include "Refusal.h"

#include <QString>
#include <optional>

namespace campanor {

// An instruction typed as four texts, in the insert panel or the edit dialog.
struct TypedInstruction {
    QString time;    // Text18
    QString dayRule; // Text17
    QString comment; // Text14
    QString action;  // Text19

    // "|" + time + "*" + comment (or "没有注释") + ">" + rule + "<" + action.
    QString realString() const;
};

// The checks of the typed boxes, in order: all present, the time part by
// part, no delimiter or quotation mark in any field, a day rule of one of
// the five forms. nullopt when the instruction may be put together.
std::optional<Refusal> checkTypedInstruction(const TypedInstruction& typed);

// One of: 每天, 星期一..星期日, 每月D日, 每年M月D日, YYYY年M月D日, with the
// numbers in ASCII digits, in range and without leading zeros, the year four digits.
bool isDayRuleForm(const QString& rule);

} // namespace campanor
