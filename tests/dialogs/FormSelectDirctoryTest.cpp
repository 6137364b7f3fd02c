#include "dialogs/FormSelectDirctory.h"
#include "fixtures/TempFolder.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

TEST(FormSelectDirctory, StartsAtTheRootAndWalksFolders) {
    TempFolder dir;
    for (const char* name : {"b/x.mp3", "A/y.mp3", "notes.txt", "Song.WAV", ".hidden"})
        dir.write(QLatin1String(name), "x");
    FormSelectDirctory picker(QString{});
    picker.Form_Load();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("搜索目录选择器"));
    EXPECT_EQ(picker.SkinLabel1->text(), QStringLiteral("请选择要自动搜索的文件夹"));
    EXPECT_EQ(picker.Command1->text(), QStringLiteral("确 定"));
    EXPECT_EQ(picker.Dir1Path(), "/");
    EXPECT_EQ(picker.Drive1->currentText(), "/");
    EXPECT_NE(texts(picker.Dir1).first(), "..") << "the root has no parent entry";

    ASSERT_TRUE(picker.setDir1Path(dir.path()));
    EXPECT_EQ(texts(picker.Dir1), (QStringList{"..", "A", "b"}));
    // Every file is shown for looking, not only sound files.
    EXPECT_EQ(texts(picker.File1), (QStringList{"notes.txt", "Song.WAV"}));

    emit picker.Dir1->itemActivated(picker.Dir1->item(1));
    EXPECT_EQ(picker.Dir1Path(), dir.file("A"));
    EXPECT_EQ(texts(picker.File1), QStringList{"y.mp3"});
    emit picker.Dir1->itemActivated(picker.Dir1->item(0));
    EXPECT_EQ(picker.Dir1Path(), dir.path());

    EXPECT_FALSE(picker.setDir1Path(dir.file("gone")));
    EXPECT_EQ(picker.Dir1Path(), dir.path());
}

TEST(FormSelectDirctory, ADriveThatCannotBeReadFallsBackToTheRoot) {
    TempFolder dir;
    FormSelectDirctory picker(QString{});
    picker.Form_Load();
    picker.setDir1Path(dir.path());
    picker.Drive1->addItem(dir.file("unplugged"));
    picker.Drive1->setCurrentIndex(picker.Drive1->count() - 1);
    picker.Drive1_Change();
    EXPECT_EQ(picker.Dir1Path(), "/");
    EXPECT_EQ(picker.Drive1->currentText(), "/");
}

TEST(FormSelectDirctory, OkHandsOnTheFolderAndClosesTitleBarDoesNot) {
    TempFolder dir;
    auto* picker = new FormSelectDirctory(QString{});
    QSignalSpy chosen(picker, &FormSelectDirctory::folderChosen);
    QPointer<FormSelectDirctory> alive(picker);
    picker->Form_Load();
    picker->show();
    picker->setDir1Path(dir.path() + "/");
    picker->Command1->click();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), dir.path()) << "no trailing slash but at the root";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "closed and released";

    auto* other = new FormSelectDirctory(QString{});
    QSignalSpy none(other, &FormSelectDirctory::folderChosen);
    other->Form_Load();
    other->show();
    other->Command1->click();
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0][0].toString(), "/");

    auto* closed = new FormSelectDirctory(QString{});
    QSignalSpy never(closed, &FormSelectDirctory::folderChosen);
    closed->Form_Load();
    closed->show();
    closed->close();
    EXPECT_TRUE(never.isEmpty());
}
