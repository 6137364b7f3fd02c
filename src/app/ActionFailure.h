#pragma once

#include <QString>
#include <stdexcept>

namespace campanor {

// Ends the work on the due instruction: the tick writes "failed: " and `why`
// to the as-run log and marks the instruction. Only for what the tick runs.
[[noreturn]] inline void failAction(const QString& why) {
    throw std::runtime_error(why.toStdString());
}

} // namespace campanor
