#include "AutoStart.h"

#include "RecordFile.h"

#include <QDir>
#include <QFile>

namespace campanor {

QString XdgAutoStart::entryPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/Clock.desktop");
}

bool XdgAutoStart::enable(const QString& programPath) {
    const QString path = entryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString exec = programPath;
    // Desktop entries quote arguments with spaces and escape these characters.
    exec.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Clock\n"
                                        "Exec=\"%1\"\nX-GNOME-Autostart-enabled=true\n")
                             .arg(exec);
    return writeFileAtomically(path, text.toUtf8());
}

bool XdgAutoStart::disable() {
    QFile file(entryPath());
    return !file.exists() || file.remove();
}

} // namespace campanor
