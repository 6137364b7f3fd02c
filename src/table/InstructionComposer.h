#pragma once

#include "Refusal.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace campanor {

struct ActionOption;

// The day-rule options of the "周期" frame, Option3 to Option7.
enum class DayRuleKind { EveryDay, Weekday, DayOfMonth, DayOfYear, Date };

// Everything the composer's controls hold when the add button is pressed.
struct ComposerInput {
    QString hour, minute, second; // selected items of List1, List2, List3
    QString comment;              // Text4
    DayRuleKind rule = DayRuleKind::EveryDay;
    QString weekday;            // Combo5
    QStringList weekdays;       // the ticked weekday boxes, Monday first
    QString monthDay;           // Combo6
    QString month, day;         // Combo7, Combo8
    QString year;               // Text5
    QString dateMonth, dateDay; // Combo9, Combo10
    const ActionOption* action = nullptr;
    QString parameterBox; // the text of the option's parameter box (a search folder's folder)
    QString parameter;    // the path a ring, playlist, program or table option appends
};

// The outcome of composing: a refusal, or the line with its leading "|".
struct Composed {
    std::optional<Refusal> refusal;
    QString realString;
};

// The add button's checks in their order, up to (not including) the
// duplicate test; `loadedCount` is the number of instructions in the table.
Composed composeInstruction(const ComposerInput& input, int loadedCount);

// One line per ticked weekday (one line for the other rules), each checked
// as composeInstruction checks one and then against `lines` for duplicates
// and the capacity, counting the lines before it: the first refusal refuses
// them all, so a set is added whole or not at all.
struct ComposedSet {
    std::optional<Refusal> refusal;
    QStringList realStrings;
};
ComposedSet composeInstructions(const ComposerInput& input, const QStringList& lines);

// Whether a line has the time and day rule of one of `lines` (exact texts).
bool isDuplicate(const QString& line, const QStringList& lines);

// Whether `text` is one or more of the digits 0-9. QChar::isDigit also
// takes full-width and other scripts' digits, which no date compares equal to.
bool isAsciiNumber(const QString& text);

// The characters no field of a line may hold: the three delimiters, the line
// separator, and the quotation mark that would end the table file's record.
QChar forbiddenCharacterIn(const QString& text);
// "<field>中不能包含[c]这个字符！", the message form of the comment box.
QString forbiddenCharacterMessage(const QString& field, QChar c);

// A path chosen in a file or folder dialog that no table can hold; the
// message to show, or nullopt when the path is fine.
std::optional<Refusal> checkChosenPath(const QString& path);

// A program path as the command line the launcher splits: quoted when it
// holds blanks or quoting characters, so that it stays one word.
QString programCommandLine(const QString& path);

inline const QString kCapacityMessage =
    QStringLiteral("最多可定义300个时间！请删除几个时间再定义！");
inline const QString kDuplicateMessage =
    QStringLiteral("这个时间已经定义了!两条指令定义的“时：分：秒”不能相同！"
                   "两条指令的最小时间差是1秒！");
inline const QString kNotStoredMessage = QStringLiteral("指令表文件无法写入，这条指令没有保存！");

} // namespace campanor
