#pragma once

#include <QString>

namespace campanor {

inline const QString kAppTitle = QStringLiteral("Campanor");
inline constexpr int kVersionMajor = 7;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 363;

inline QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace campanor
