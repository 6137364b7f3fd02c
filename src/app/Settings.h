#pragma once

#include "common/RecordFile.h"
#include "common/Settings.h"

#include <QString>
#include <functional>

namespace campanor {

// Whether start-up must run the first-run reset: unless ResetSystem.txt holds
// a number other than 0.
bool needsFirstRunReset(const Settings& settings);

// The nineteen steps of the reset; the first (stop starting with the system)
// is the caller's, since it also sets menu check marks. User.txt is kept.
void RunFirstRunReset(const Settings& settings, const std::function<void()>& stopAutoStart);

} // namespace campanor
