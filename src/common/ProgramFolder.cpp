#include "ProgramFolder.h"

#include "AsRunLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace campanor {

namespace {

// Shipped files that the program never writes: a newer package brings new ones.
bool onlyRead(const QString& relativePath) {
    return relativePath == QStringLiteral("timeup.mp3") ||
           relativePath == QStringLiteral("vomu.chm") ||
           relativePath.startsWith(QStringLiteral("skin/"));
}

bool sameBytes(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size())
        return false;
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    return first.readAll() == second.readAll();
}

bool copyFile(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to))
        return false;
    // A package's files are read-only; the user's copies are theirs to change.
    QFile::setPermissions(to, QFile::permissions(to) | QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

} // namespace

QString programFolder() {
    const QString home = qEnvironmentVariable("CAMPANOR_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    return defaultProgramFolder(QCoreApplication::applicationFilePath());
}

QString defaultProgramFolder(const QString& executablePath) {
    const QString own = QFileInfo(executablePath).absolutePath();
    if (isInstalledPackageFolder(own) || !QFileInfo(own).isWritable())
        return userProgramFolder();
    return own;
}

bool isInstalledPackageFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    for (const char* prefix : {"/opt/", "/usr/"}) {
        if (clean.startsWith(QLatin1String(prefix)))
            return true;
    }
    return QFileInfo::exists(joinPath(clean, kPackageMarker));
}

QString userProgramFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/Campanor"));
}

bool seedProgramFolder(const QString& installedFolder, const QString& userFolder,
                       const QString& programFileName) {
    const QDir installed(installedFolder);
    if (!installed.exists() || !QDir().mkpath(userFolder))
        return false;
    bool complete = true;
    QDirIterator it(installedFolder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString relative = installed.relativeFilePath(source.filePath());
        if (relative == programFileName || relative == kPackageMarker)
            continue;
        const QString target = userFolder + u'/' + relative;
        if (source.isDir()) {
            complete = QDir().mkpath(target) && complete;
        } else if (!QFileInfo::exists(target) ||
                   (onlyRead(relative) && !sameBytes(source.filePath(), target))) {
            complete = copyFile(source.filePath(), target) && complete;
        }
    }
    return complete;
}

QString prepareProgramFolder() {
    const QString folder = programFolder();
    const QString installed = QCoreApplication::applicationDirPath();
    if (!qEnvironmentVariableIsEmpty("CAMPANOR_HOME") || folder == installed)
        return folder;
    const bool complete = seedProgramFolder(
        installed, folder, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    if (QFileInfo(folder).isDir() && QFileInfo(folder).isWritable()) {
        if (!complete)
            reportProblem(
                QStringLiteral("程序文件夹 %1 缺少随程序（%2）提供的文件").arg(folder, installed));
        return folder;
    }
    // A package's folder is never written, not even by root: without a
    // folder of its own the program runs on defaults and saves nothing.
    const QString fallback = isInstalledPackageFolder(installed) ? folder : installed;
    reportProblem(
        QStringLiteral("无法建立程序文件夹 %1，改用 %2，设置无法保存").arg(folder, fallback));
    return fallback;
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QString absentFolderOf(const QString& path) {
    if (!QDir::isAbsolutePath(path))
        return {};
    const QString folder = QFileInfo(path).absolutePath();
    return QFileInfo(folder).isDir() ? QString() : folder;
}

bool samePathIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace campanor
