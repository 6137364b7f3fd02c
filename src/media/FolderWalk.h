#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace campanor {

// Every playable file under a folder, breadth-first: the folder's own files,
// then folder by folder level by level. Within a folder, files and subfolders
// come in name order ignoring case. Hidden entries (a leading ".") are left
// out, as the pickers leave them out. A symbolic link is followed, but each
// folder is walked once however many links lead to it, so a link back up the
// tree cannot loop.
class FolderWalk {
  public:
    // The lists that hold the result count with 16-bit numbers.
    static constexpr int kListLimit = 32767;

    struct Result {
        // Every subfolder queued, in the order walked (full paths).
        QStringList folders;
        // The playable files found, in the order found (full paths).
        QStringList files;
        // The walk stopped at a list limit; `files` holds what was found until then.
        bool truncated = false;
    };

    // The patterns of playable files, matched ignoring case.
    static const QStringList& patterns();

    // Asked before each subfolder is read; false ends the walk there.
    using CarryOn = std::function<bool()>;

    // nullopt when the folder itself does not exist or cannot be read, or when
    // `carryOn` ended the walk; a subfolder that cannot be read is passed over.
    static std::optional<Result> walk(const QString& folder, int folderLimit = kListLimit,
                                      int fileLimit = kListLimit, const CarryOn& carryOn = {});
};

} // namespace campanor
