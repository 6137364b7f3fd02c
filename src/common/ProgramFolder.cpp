#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace campanor {

QString programFolder() {
    const QString home = qEnvironmentVariable("CAMPANOR_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    return QCoreApplication::applicationDirPath();
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

bool samePathIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace campanor
