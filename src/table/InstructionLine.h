#pragma once

#include <QString>
#include <optional>

namespace campanor {

inline const QString kNoComment = QStringLiteral("没有注释");

// One instruction: time*comment>day rule<action field. The fields are found
// by the first occurrence of each delimiter.
struct Instruction {
    QString time;
    QString comment;
    QString dayRule;
    QString action;

    // nullopt when a delimiter is missing or out of order.
    static std::optional<Instruction> parse(const QString& line);
    // An empty comment is written as "没有注释".
    QString line() const;
    // The comment as the list shows it: empty for "没有注释".
    QString shownComment() const { return comment == kNoComment ? QString() : comment; }
};

// The action field: everything after the first "<" (empty when there is none).
QString actionFieldOf(const QString& line);

} // namespace campanor
