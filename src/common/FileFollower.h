#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>

namespace campanor {

// Follows files that other programs may change: written in place or replaced
// by a rename (as editors and sync tools do). The changes are collected and
// taken by the caller at its own pace.
class FileFollower : public QObject {
    Q_OBJECT
  public:
    explicit FileFollower(QObject* parent = nullptr);

    // The files to follow from now on, in place of the ones before; each
    // counts as changed once, for a first look.
    void follow(const QStringList& paths);
    // The followed files that changed since the last call.
    QStringList takeChanged();

  private:
    void fileChanged(const QString& path);
    void folderChanged(const QString& folder);
    void watch(const QString& path);

    QFileSystemWatcher watcher_;
    QStringList followed_;
    QSet<QString> changed_;
};

} // namespace campanor
