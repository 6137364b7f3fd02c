#include "FileFollower.h"

#include <QFileInfo>

namespace campanor {

FileFollower::FileFollower(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileFollower::fileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileFollower::folderChanged);
}

void FileFollower::follow(const QStringList& paths) {
    if (paths == followed_)
        return;
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    followed_ = paths;
    changed_.clear();
    // What changed before the watch began is found by the caller's first look.
    for (const QString& path : paths) {
        watch(path);
        changed_.insert(path);
    }
}

void FileFollower::watch(const QString& path) {
    // The folder too: a file replaced by a rename is a new file the watch
    // on the old one never hears of.
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir())
        watcher_.addPath(folder);
    if (!watcher_.files().contains(path) && QFileInfo::exists(path))
        watcher_.addPath(path);
}

void FileFollower::fileChanged(const QString& path) {
    changed_.insert(path);
    watch(path); // removed or replaced: watched again once it is back
}

void FileFollower::folderChanged(const QString& folder) {
    for (const QString& path : std::as_const(followed_)) {
        if (QFileInfo(path).absolutePath() != folder)
            continue;
        // Other files of the folder change too: the caller compares contents.
        changed_.insert(path);
        watch(path);
    }
}

QStringList FileFollower::takeChanged() {
    QStringList changed(changed_.begin(), changed_.end());
    changed_.clear();
    return changed;
}

} // namespace campanor
