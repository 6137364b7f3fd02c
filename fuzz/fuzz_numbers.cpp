// The number files: a playlist's memory position, volume and balance files,
// and ResetSystem.txt, read back from a real file as the players and start-up do.
#include "FuzzInput.h"
#include "app/Settings.h"
#include "media/Playlist.h"

#include <QFile>
#include <QTemporaryDir>

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static const QString playlist = folder.filePath(QStringLiteral("LIST.PLF"));
    const QByteArray bytes = bytesOf(data, size);
    for (const QString& path :
         {memoryFileOf(playlist), volumeFileOf(playlist), folder.filePath(file::ResetSystem)}) {
        QFile out(path);
        require(out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    out.write(bytes) == bytes.size(),
                "cannot write the scratch file");
    }

    const std::optional<int> memory = readMemoryPosition(playlist);
    require(memory.has_value(), "an existing memory file reads as missing");
    // A file without a whole number gives nothing: the player's default applies.
    const std::optional<int> volume = readSliderFile(volumeFileOf(playlist), 0, 5000);
    require(!volume || (*volume >= 0 && *volume <= 5000), "volume outside the slider");
    const std::optional<int> balance = readSliderFile(volumeFileOf(playlist), -10000, 10000);
    require(!balance || (*balance >= -10000 && *balance <= 10000), "balance outside the slider");

    const Settings settings(folder.path());
    needsFirstRunReset(settings);
    return 0;
}
