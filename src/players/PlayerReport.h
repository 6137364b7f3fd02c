#pragma once

#include <QString>

namespace campanor {

// A track passed over because it cannot be played, for the operator to find later.
void reportUnplayableTrack(const QString& player, const QString& path, const QString& reason);

} // namespace campanor
