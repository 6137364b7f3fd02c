#include "PlayerReport.h"

#include <cstdio>

namespace campanor {

void reportUnplayableTrack(const QString& player, const QString& path, const QString& reason) {
    const QString text = player + QStringLiteral("：无法播放，已跳过 ") + path +
                         QStringLiteral("（") + reason + QStringLiteral("）");
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace campanor
