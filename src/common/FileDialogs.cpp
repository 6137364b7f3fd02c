#include "FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace campanor {

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtFileDialogs::openFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, toQtFilter(filter));
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, folder, toQtFilter(filter));
}

QString QtFileDialogs::openProgram(QWidget* parent, const QString& title, const QString& folder,
                                   const QString&) {
    QFileDialog dialog(parent, title, folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The platform dialogs ignore a filter by permission; Qt's own honours it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace campanor
