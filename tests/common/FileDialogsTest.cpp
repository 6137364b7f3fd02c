#include "common/FileDialogs.h"
#include "fixtures/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <gtest/gtest.h>

using campanor::test::TempFolder;

namespace {

// Watches for the modal file dialog; once its model has read `folder`, keeps
// the names it lists there and closes it.
class ShownNames : public QObject {
  public:
    explicit ShownNames(const QString& folder) : folder_(folder) {
        connect(&poll_, &QTimer::timeout, this, [this] { look(); });
        poll_.start(50);
    }
    QStringList names;

  private:
    void look() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(dialog->proxyModel());
        auto* files = proxy ? qobject_cast<QFileSystemModel*>(proxy->sourceModel()) : nullptr;
        if (files) {
            const QModelIndex root = proxy->mapFromSource(files->index(folder_));
            QStringList seen;
            for (int row = 0; row < proxy->rowCount(root); ++row)
                seen << proxy->index(row, 0, root).data().toString();
            if (!seen.contains("A.PLF") && ++tries_ < 100)
                return;
            names = seen;
        }
        dialog->reject();
    }
    QString folder_;
    QTimer poll_;
    int tries_ = 0;
};

} // namespace

TEST(QtFileDialogsTest, PlaylistDialogsLeaveOutTheProgramsOwnLists) {
    TempFolder dir;
    for (const char* name : {"A.PLF", "TEMPBACK.PLF", "tempfront.plf"})
        dir.write(name, "\"|\"");
    campanor::QtFileDialogs dialogs;
    for (const bool save : {false, true}) {
        ShownNames watcher(dir.path());
        const QString chosen =
            save ? dialogs.saveFile(nullptr, "另存为", dir.path(), campanor::kPlaylistFilter)
                 : dialogs.openFile(nullptr, "打开", dir.path(), campanor::kPlaylistFilter);
        EXPECT_TRUE(chosen.isEmpty());
        const QStringList& shown = watcher.names;
        EXPECT_TRUE(shown.contains("A.PLF")) << save << shown.join(' ').toStdString();
        EXPECT_FALSE(shown.contains("TEMPBACK.PLF", Qt::CaseInsensitive)) << save;
        EXPECT_FALSE(shown.contains("tempfront.plf", Qt::CaseInsensitive)) << save;
    }
}
