#include "DayRestore.h"

#include "table/InstructionLine.h"

#include <algorithm>
#include <cmath>

namespace campanor {

namespace {

struct Due {
    QTime second;
    qsizetype order;
    QString line;
};

} // namespace

bool DayRestore::setsBackPlayer(ActionKind kind) {
    switch (kind) {
    case ActionKind::StartBackStatic:
    case ActionKind::StartBackMemory:
    case ActionKind::StartBackDynamic:
    case ActionKind::SearchBackSorted:
    case ActionKind::SearchBackRandom:
    case ActionKind::CloseBackPlayer:
        return true;
    default:
        return false;
    }
}

DayRestore::State DayRestore::stateAt(const QString& dayTable, const QTime& now) const {
    State state;
    state.table = dayTable;
    QTime from(0, 0, 0);
    for (bool reopened = true; reopened && from.isValid() && from <= now;) {
        reopened = false;
        std::vector<Due> due;
        const QStringList lines = readTable_(state.table);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const std::optional<Instruction> instruction = Instruction::parse(lines[i]);
            if (!instruction)
                continue;
            const QTime second = QTime::fromString(instruction->time, QStringLiteral("hh:mm:ss"));
            if (!second.isValid() || second < from || second > now ||
                !ruleApplies_(instruction->dayRule))
                continue;
            due.push_back({second, i, lines[i]});
        }
        std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
            return a.second != b.second ? a.second < b.second : a.order < b.order;
        });
        QTime last;
        for (const Due& d : due) {
            if (d.second == last)
                continue; // one a second: the rest were passed over
            last = d.second;
            Step step{d.second, d.line, state.table, recognizeAction(actionFieldOf(d.line))};
            state.steps << step;
            const ActionKind kind = step.action.kind;
            if (setsBackPlayer(kind)) {
                if (kind == ActionKind::CloseBackPlayer)
                    state.back.reset();
                else
                    state.back = step;
            } else if (kind == ActionKind::LineInOn || kind == ActionKind::LineInOff) {
                state.lineIn = step;
            } else if (kind == ActionKind::MicOn || kind == ActionKind::MicOff) {
                state.microphone = step;
            } else if (kind == ActionKind::OpenTable) {
                // The new table acts from the next second on.
                state.table = step.action.parameter;
                from = d.second == QTime(23, 59, 59) ? QTime() : d.second.addSecs(1);
                reopened = true;
                break;
            }
        }
    }
    return state;
}

ListPosition ListPosition::after(const QList<double>& lengths, double elapsed, Loop loop) {
    ListPosition position;
    double total = 0;
    for (double length : lengths)
        total += std::max(0.0, length);
    if (lengths.isEmpty() || total <= 0) {
        position.ended = loop == Loop::ToEnd;
        return position;
    }
    elapsed = std::max(0.0, elapsed);
    if (loop == Loop::OneTrack) {
        // The list's first track, over and over; one of unknown length from its start.
        const double first = std::max(0.0, lengths.first());
        position.seconds = first > 0 ? std::fmod(elapsed, first) : 0;
        return position;
    }
    if (loop == Loop::WholeList)
        elapsed = std::fmod(elapsed, total);
    else if (elapsed >= total) {
        position.ended = true;
        position.track = int(lengths.size()) - 1;
        return position;
    }
    for (int i = 0; i < lengths.size(); ++i) {
        const double length = std::max(0.0, lengths[i]);
        if (elapsed < length) {
            position.track = i;
            position.seconds = elapsed;
            return position;
        }
        elapsed -= length;
    }
    return position;
}

} // namespace campanor
