#include "FormSearchFile.h"

#include "FolderWalk.h"
#include "Playlist.h"
#include "common/ProgramFolder.h"
#include "common/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace campanor {

namespace {
const QString kFrontSorted = QStringLiteral("前置排序");
const QString kFrontRandom = QStringLiteral("前置随机");
} // namespace

FormSearchFile::FormSearchFile(QString programFolder, QString* frontPlayer)
    : programFolder_(std::move(programFolder)), frontPlayer_(frontPlayer) {}

QString FormSearchFile::frontListPath(const QString& programFolder) {
    return joinPath(programFolder, file::PlayListFile + QStringLiteral("/TEMPFRONT.PLF"));
}

QString FormSearchFile::backListPath(const QString& programFolder) {
    return joinPath(programFolder, file::PlayListFile + QStringLiteral("/TEMPBACK.PLF"));
}

bool FormSearchFile::setDir1Path(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    dir1Path_ = QDir::cleanPath(folder);
    return true;
}

bool FormSearchFile::Command1_Click() {
    return walk() && Command2_Click();
}

bool FormSearchFile::walk(const FolderWalk::CarryOn& carryOn) {
    List1.clear();
    List2.clear();
    truncated = false;
    if (dir1Path_.isEmpty())
        return false;
    std::optional<FolderWalk::Result> found =
        FolderWalk::walk(dir1Path_, FolderWalk::kListLimit, FolderWalk::kListLimit, carryOn);
    if (!found)
        return false;
    List1 = std::move(found->folders);
    List2 = std::move(found->files);
    truncated = found->truncated;
    Label1 = QStringLiteral("Total:") + QString::number(List2.size());
    return true;
}

bool FormSearchFile::Command2_Click() {
    QStringList tracks;
    tracks.reserve(List2.size());
    unstorable.clear();
    for (const QString& path : List2) {
        if (!storableInPlaylist(path))
            unstorable << path;
        else
            tracks << path;
    }
    const bool front =
        frontPlayer_ && (*frontPlayer_ == kFrontRandom || *frontPlayer_ == kFrontSorted);
    savedList = front ? frontListPath(programFolder_) : backListPath(programFolder_);
    if (front)
        frontPlayer_->clear();
    QDir().mkpath(QFileInfo(savedList).absolutePath());
    return writePlaylistFile(savedList, joinPlaylistText(tracks)) &&
           writeMemoryPosition(savedList, 0);
}

} // namespace campanor
