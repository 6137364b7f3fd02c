#include "dialogs/FormSelectDirctory.h"
#include "fixtures/ScriptedPrompter.h"
#include "fixtures/TempFolder.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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

// A single click on the entry, as a user marks a folder.
void mark(QListWidget* list, const QString& entry) {
    const auto found = list->findItems(entry, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << entry.toStdString();
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found[0]).center());
    ASSERT_TRUE(found[0]->isSelected());
}

} // namespace

TEST(FormSelectDirctory, StartsInTheMusicFolderAndWalksFolders) {
    TempFolder dir;
    for (const char* name : {"b/x.mp3", "A/y.mp3", "notes.txt", "Song.WAV", ".hidden"})
        dir.write(QLatin1String(name), "x");
    TempFolder home;
    const QByteArray realHome = qgetenv("HOME"), realConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.file("config").toUtf8());
    FormSelectDirctory picker(QString{}, nullptr);
    picker.Form_Load();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("搜索目录选择器"));
    EXPECT_EQ(picker.SkinLabel1->text(), QStringLiteral("请选择要自动搜索的文件夹"));
    EXPECT_EQ(picker.Command1->text(), QStringLiteral("确 定"));
    EXPECT_EQ(picker.Dir1Path(), home.path()) << "no music folder: the home folder";
    home.write("Music/a.flac", "x");
    picker.Form_Load();
    EXPECT_EQ(picker.Dir1Path(), home.file("Music"));
    picker.Form_Load(dir.file("A"));
    EXPECT_EQ(picker.Dir1Path(), dir.file("A")) << "the folder used last";
    picker.Form_Load(dir.file("gone"));
    EXPECT_EQ(picker.Dir1Path(), home.file("Music"));
    qputenv("HOME", realHome);
    qputenv("XDG_CONFIG_HOME", realConfig);
    picker.setDir1Path(QStringLiteral("/"));
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
    FormSelectDirctory picker(QString{}, nullptr);
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
    auto* picker = new FormSelectDirctory(QString{}, nullptr);
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

    // The root would walk the whole system: not handed on, the picker stays.
    auto* other = new FormSelectDirctory(QString{}, nullptr);
    QSignalSpy none(other, &FormSelectDirctory::folderChosen);
    other->Form_Load(QStringLiteral("/"));
    other->show();
    other->Command1->click();
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(other->isVisible());
    other->close();

    auto* closed = new FormSelectDirctory(QString{}, nullptr);
    QSignalSpy never(closed, &FormSelectDirctory::folderChosen);
    closed->Form_Load();
    closed->show();
    closed->close();
    EXPECT_TRUE(never.isEmpty());
}

TEST(FormSelectDirctory, OkTakesTheMarkedFolderRefusesTheSystemAndCancelChangesNothing) {
    TempFolder dir;
    dir.write("media/a.mp3", "x");
    dir.write("other/b.mp3", "x");
    ScriptedPrompter prompter;
    auto* picker = new FormSelectDirctory(QString{}, &prompter);
    QSignalSpy chosen(picker, &FormSelectDirctory::folderChosen);
    QPointer<FormSelectDirctory> alive(picker);
    picker->Form_Load(QStringLiteral("/"));
    picker->show();

    // At the root with nothing marked, a marked pseudo file system, the
    // open /dev: refused with a message, nothing handed on, still open.
    picker->Command1->click();
    mark(picker->Dir1, "proc");
    picker->Command1->click();
    ASSERT_TRUE(picker->setDir1Path("/dev"));
    picker->Command1->click();
    EXPECT_TRUE(chosen.isEmpty());
    ASSERT_EQ(prompter.shown.size(), 3);
    for (const auto& shown : prompter.shown)
        EXPECT_EQ(shown.icon, Prompter::Icon::Warning);
    EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("“/”")));
    EXPECT_TRUE(prompter.shown[1].text.contains(QStringLiteral("“/proc”")));
    EXPECT_TRUE(picker->isVisible());

    // A single click marks "media" inside the open folder: OK takes it.
    ASSERT_TRUE(picker->setDir1Path(dir.path()));
    mark(picker->Dir1, "media");
    EXPECT_EQ(picker->Dir1Path(), dir.path()) << "a single click does not open the folder";
    picker->Command1->click();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), dir.file("media"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());

    // 取消 closes with a folder marked and hands nothing on.
    auto* cancelled = new FormSelectDirctory(QString{}, &prompter);
    QSignalSpy nothing(cancelled, &FormSelectDirctory::folderChosen);
    QPointer<FormSelectDirctory> open(cancelled);
    cancelled->Form_Load();
    cancelled->show();
    ASSERT_TRUE(cancelled->setDir1Path(dir.path()));
    mark(cancelled->Dir1, "other");
    EXPECT_EQ(cancelled->Command2->text(), QStringLiteral("取 消"));
    cancelled->Command2->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(nothing.isEmpty());
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(prompter.shown.size(), 3);
}
