#include "FileDialogs.h"

#include <QFileDialog>
#include <QSortFilterProxyModel>
#include <QStringList>

namespace campanor {

namespace {

// The patterns a filter name already shows at its end, as in "曲目表(*.PLF)".
QStringList shownPatterns(const QString& name) {
    if (!name.endsWith(u')'))
        return {};
    const qsizetype open = name.lastIndexOf(u'(');
    if (open < 0)
        return {};
    return name.mid(open + 1, name.size() - open - 2).split(u';', Qt::SkipEmptyParts);
}

bool samePatterns(QStringList a, QStringList b) {
    for (QStringList* list : {&a, &b}) {
        for (QString& pattern : *list)
            pattern = pattern.trimmed().toLower();
        list->sort();
    }
    return a == b;
}

// The program's own temporary lists (a folder search's tracks) are rewritten
// at every search: they are not offered as the user's lists.
class WithoutOwnLists : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QString name = sourceModel()->index(row, 0, parent).data().toString();
        for (const char* own : {"TEMPBACK.PLF", "TEMPFRONT.PLF"})
            if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
                return false;
        return true;
    }
};

} // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // A name that already shows its patterns would show them twice; Qt's
        // dialog matches without regard to case, so the name's spelling serves.
        const QStringList shown = shownPatterns(name);
        if (!shown.isEmpty() && samePatterns(shown, patterns)) {
            name = name.left(name.lastIndexOf(u'(')).trimmed();
            patterns = shown;
        }
        filters << name + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

// A playlist dialog leaves out the program's own lists (TEMPBACK, TEMPFRONT):
// they are not the user's to open or to save over.
QString withoutOwnLists(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, title, folder, toQtFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // Only Qt's own dialog takes a model that leaves files out.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new WithoutOwnLists(&dialog));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    if (filter != kPlaylistFilter)
        return QFileDialog::getOpenFileName(parent, title, folder, toQtFilter(filter));
    return withoutOwnLists(parent, title, folder, filter, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    if (filter != kPlaylistFilter)
        return QFileDialog::getSaveFileName(parent, title, folder, toQtFilter(filter));
    return withoutOwnLists(parent, title, folder, filter, QFileDialog::AcceptSave);
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
