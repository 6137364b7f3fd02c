#pragma once

#include "common/RecordFile.h"
#include "common/Settings.h"

#include <QString>
#include <functional>

namespace campanor {

// Whether start-up must run the first-run reset: when ResetSystem.txt is
// missing or empty, holds 0 or a plain text that is not a number. A marker
// that is there but cannot be read or is garbled (a byte-order mark, control
// characters, bytes that are not GB18030) resets nothing; it is reported.
bool needsFirstRunReset(const Settings& settings);

// The nineteen steps of the reset; the first (stop starting with the system)
// is the caller's, since it also sets menu check marks. User.txt is kept, and
// so is a default table or playlist that holds anything.
void RunFirstRunReset(const Settings& settings, const std::function<void()>& stopAutoStart);

} // namespace campanor
