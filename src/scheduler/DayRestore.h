#pragma once

#include "Action.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>

namespace campanor {

// What today's plan has put in effect by a given second: the table, the back
// player, the line input and the microphone, each with the instruction that
// set it, and every instruction that fell due on the way. Rings, the front
// player, programs and power actions are moments: they are only listed.
// Works on table texts alone, so that a start, a resume from suspend or a
// large clock step can pick up the day where it stands.
class DayRestore {
  public:
    // One instruction as the tick would have carried it out.
    struct Step {
        QTime second;
        QString line;
        QString table; // the table that held it
        Action action;
    };

    struct State {
        // The table in effect after the last "打开表" line (the day's table when none).
        QString table;
        // The last instruction that started the back player, unless one
        // closed it after that.
        std::optional<Step> back;
        // The last switch of each line.
        std::optional<Step> lineIn;
        std::optional<Step> microphone;
        // Every instruction carried out from 00:00:00 to the given second, in
        // time order (one a second, the first of its table as the tick does).
        QList<Step> steps;
    };

    // The lines of a table file (empty when it cannot be read).
    using ReadTable = std::function<QStringList(const QString& path)>;
    // Whether a day rule applies on the day.
    using RuleApplies = std::function<bool(const QString& rule)>;

    DayRestore(ReadTable readTable, RuleApplies ruleApplies)
        : readTable_(std::move(readTable)), ruleApplies_(std::move(ruleApplies)) {}

    // The state at `now` (its own second included: the tick goes on from the
    // second after it), starting the day on `dayTable`.
    State stateAt(const QString& dayTable, const QTime& now) const;

    // Whether an action's outcome lasts (and so is restored) or is a moment.
    static bool setsBackPlayer(ActionKind kind);

  private:
    ReadTable readTable_;
    RuleApplies ruleApplies_;
};

// Where a list started `elapsed` seconds ago stands now, from its tracks'
// lengths (a track of unknown length counts as none).
struct ListPosition {
    enum class Loop { ToEnd, OneTrack, WholeList };
    int track = 0;
    double seconds = 0;
    // Played to its end (only without a loop).
    bool ended = false;

    static ListPosition after(const QList<double>& lengths, double elapsed, Loop loop);
};

} // namespace campanor
