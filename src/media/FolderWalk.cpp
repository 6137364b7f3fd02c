#include "FolderWalk.h"

#include "common/ProgramFolder.h"
#include "common/SoundFiles.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace campanor {

namespace {

// The extensions of the patterns, lower case, without the dot. Every pattern
// is "*." + extension, so a name matches when the text after its last dot is
// one of them.
const std::vector<QByteArray>& extensions() {
    static const std::vector<QByteArray> list = [] {
        std::vector<QByteArray> out;
        for (const QString& pattern : FolderWalk::patterns())
            out.push_back(pattern.mid(2).toLatin1());
        return out;
    }();
    return list;
}

bool playableName(const char* name, size_t length) {
    const void* dot = memrchr(name, '.', length);
    if (!dot)
        return false;
    const char* ext = static_cast<const char*>(dot) + 1;
    const size_t extLength = name + length - ext;
    char lower[8];
    if (extLength == 0 || extLength > sizeof lower)
        return false;
    for (size_t i = 0; i < extLength; ++i)
        lower[i] = (ext[i] >= 'A' && ext[i] <= 'Z') ? char(ext[i] - 'A' + 'a') : ext[i];
    for (const QByteArray& known : extensions()) {
        if (size_t(known.size()) == extLength &&
            std::memcmp(known.constData(), lower, extLength) == 0)
            return true;
    }
    return false;
}

bool byNameIgnoringCase(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    // Names that differ only in case still come in a fixed order.
    return order != 0 ? order < 0 : a < b;
}

class Walker {
  public:
    Walker(int folderLimit, int fileLimit) : folderLimit_(folderLimit), fileLimit_(fileLimit) {}

    // Lists one folder into the result; false when it cannot be opened.
    bool visit(const QString& folder) {
        DIR* dir = opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return false;
        const int fd = dirfd(dir);
        struct stat self;
        if (fstat(fd, &self) == 0 && !seen_.insert({self.st_dev, self.st_ino}).second) {
            // Reached again through a link: already walked (or a loop).
            closedir(dir);
            return true;
        }
        files_.clear();
        folders_.clear();
        while (const dirent* entry = readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.')
                continue;
            bool isFolder = entry->d_type == DT_DIR;
            bool isFile = entry->d_type == DT_REG;
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                struct stat target;
                if (fstatat(fd, name, &target, 0) != 0)
                    continue; // a dangling link
                isFolder = S_ISDIR(target.st_mode);
                isFile = S_ISREG(target.st_mode);
            }
            if (isFile && playableName(name, std::strlen(name)))
                files_.push_back(QFile::decodeName(name));
            else if (isFolder)
                folders_.push_back(QFile::decodeName(name));
        }
        closedir(dir);

        std::sort(files_.begin(), files_.end(), byNameIgnoringCase);
        for (const QString& name : files_) {
            if (result.files.size() >= fileLimit_) {
                result.truncated = true;
                return true;
            }
            result.files.append(joinPath(folder, name));
        }
        std::sort(folders_.begin(), folders_.end(), byNameIgnoringCase);
        for (const QString& name : folders_) {
            if (result.folders.size() >= folderLimit_) {
                result.truncated = true;
                break;
            }
            result.folders.append(joinPath(folder, name));
        }
        return true;
    }

    bool fileListFull() const { return result.files.size() >= fileLimit_ && result.truncated; }

    FolderWalk::Result result;

  private:
    const int folderLimit_;
    const int fileLimit_;
    std::set<std::pair<dev_t, ino_t>> seen_;
    std::vector<QString> files_;
    std::vector<QString> folders_;
};

} // namespace

const QStringList& FolderWalk::patterns() {
    return soundFilePatterns();
}

std::optional<FolderWalk::Result> FolderWalk::walk(const QString& folder, int folderLimit,
                                                   int fileLimit, const CarryOn& carryOn) {
    const QString start = QDir::cleanPath(folder);
    if (start.isEmpty())
        return std::nullopt;
    Walker walker(folderLimit, fileLimit);
    if (!walker.visit(start))
        return std::nullopt;
    // The queue grows while it is walked. Once it is full no folder is added,
    // but the folders already queued are still walked for their files.
    for (qsizetype j = 0; j < walker.result.folders.size() && !walker.fileListFull(); ++j) {
        if (carryOn && !carryOn())
            return std::nullopt;
        const QString next = walker.result.folders.at(j);
        walker.visit(next);
    }
    return std::move(walker.result);
}

} // namespace campanor
