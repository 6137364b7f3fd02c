#pragma once

#include "scheduler/Action.h"

#include <QString>

namespace campanor {

// An action field that came from outside (D-Bus, the command line), checked
// as a typed action field is checked before anything runs.
struct OutsideAction {
    Action action;
    // Why it is refused, in the operator's words; empty when it may run.
    QString refusal;
};

// "默认乐音" stands for the default ring. A ring names a sound file that must
// exist; a playlist or table file and a search folder must exist too.
OutsideAction checkOutsideAction(const QString& field, const QString& defaultRing);

} // namespace campanor
