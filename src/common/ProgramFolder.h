#pragma once

#include <QString>

namespace campanor {

// The folder that holds the program: CAMPANOR_HOME when set, otherwise the
// executable's folder. Every file of the system lives in or under it.
QString programFolder();

// folder + "/" + name, collapsing a doubled separator at a root.
QString joinPath(const QString& folder, const QString& name);

// Linux paths keep their case; where the system compares paths it ignores case.
bool samePathIgnoringCase(const QString& a, const QString& b);

} // namespace campanor
