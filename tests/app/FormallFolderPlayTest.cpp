#include "app/FormallFixture.h"
#include "common/AsRunLog.h"
#include "fixtures/ScriptedMedia.h"
#include "fixtures/WaitUntil.h"
#include "media/FormSearchFile.h"
#include "media/Playlist.h"
#include "table/ComposerPanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

using namespace campanor;
using namespace campanor::test;

namespace {

class FormallFolderPlay : public FormallTest {
  protected:
    QString folder(const QStringList& names) {
        for (const QString& name : names)
            dir.write("songs/" + name, "x");
        return dir.file("songs");
    }
    QString listText(const QString& path) { return readPlaylistFile(path).value; }
    // The folder is walked on another thread: the player starts when it hands back.
    void dispatch(Formall& w, const QString& line) {
        w.DispatchAction(line);
        ASSERT_TRUE(waitUntil([&] { return !w.folderWalkPending(); }, 10000));
    }
    QString frontList() { return FormSearchFile::frontListPath(dir.path()); }
    QString backList() { return FormSearchFile::backListPath(dir.path()); }
    // A one-track back list started by its instruction, as music under announcements.
    PlayerWindow* startBackList(Formall& w) {
        dir.write("back/x.mp3", "x");
        dir.write("PlayListFile/Back.PLF", TempFolder::quoted("|" + dir.file("back/x.mp3")));
        writeMemoryPosition(dir.file("PlayListFile/Back.PLF"), 0);
        w.DispatchAction(QStringLiteral("08:00:00*x>每天<播音开-静态") +
                         dir.file("PlayListFile/Back.PLF"));
        return w.backPlayer();
    }
};

} // namespace

TEST_F(FormallFolderPlay, FrontFoldersPlayOnTheFrontPlayerWithTheFolderVolume) {
    useScriptedMedia();
    auto w = start();
    const QString songs = folder({"b.mp3", "A.wav", "Old/c.mid"});
    dir.write("songs/Volume.txt", "3000\r\n");
    PlayerWindow* back = startBackList(*w);
    const QString backListBefore = listText(backList());

    dispatch(*w, QStringLiteral("08:00:01*x>每天<搜索文件夹-前置排序") + songs);
    PlayerWindow* front = w->frontPlayer();
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->PLFFile, frontList());
    EXPECT_EQ(listText(frontList()), "|" + dir.file("songs/A.wav") + "|" + dir.file("songs/b.mp3") +
                                         "|" + dir.file("songs/Old/c.mid"));
    EXPECT_EQ(front->Text7->text(), "1");
    EXPECT_EQ(media(front)->fileName(), dir.file("songs/A.wav"));
    EXPECT_EQ(front->Slider2->value(), 3000) << "the folder's own volume";
    EXPECT_TRUE(w->MemPath.isEmpty()) << "taken by the player's load";
    EXPECT_TRUE(w->FrontPlayer.isEmpty());
    EXPECT_EQ(w->backPlayer(), back) << "the back player is not touched";
    EXPECT_EQ(listText(backList()), backListBefore);

    dispatch(*w, QStringLiteral("08:00:02*x>每天<搜索文件夹-前置随机") + songs);
    EXPECT_NE(w->frontPlayer(), front);
    EXPECT_EQ(w->frontPlayer()->Text7->text(), "2");
    EXPECT_TRUE(w->FrontPlayer.isEmpty());
    EXPECT_EQ(w->backPlayer(), back);
}

TEST_F(FormallFolderPlay, AFrontFolderWithNothingToPlayGivesTheBackItsVolumeBack) {
    useScriptedMedia();
    auto w = start();
    const QString songs = folder({"notes.txt"});
    PlayerWindow* back = startBackList(*w);
    ASSERT_NE(back, nullptr);
    const int volume = back->Slider2->value();

    AsRunLog::open(dir.path());
    dispatch(*w, QStringLiteral("08:00:01*x>每天<搜索文件夹-前置排序") + songs);
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll())
                    .contains(QStringLiteral("失败：搜索文件夹中没有可播放的文件：") + songs))
        << "a folder with nothing to play is a failed instruction";
    EXPECT_TRUE(listText(frontList()).isEmpty());
    EXPECT_TRUE(waitUntil([&] { return w->frontPlayer() == nullptr; }, 3000))
        << "an empty announcement list ends at once";
    EXPECT_EQ(back->Slider2->value(), volume);
    EXPECT_FALSE(media(back)->mute());
}

TEST_F(FormallFolderPlay, BackFoldersReplaceTheBackPlayer) {
    useScriptedMedia();
    auto w = start();
    const QString songs = folder({"b.mp3", "a.mp3"});
    dispatch(*w, QStringLiteral("08:00:00*x>每天<搜索文件夹-后置随机") + songs);
    PlayerWindow* first = w->backPlayer();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->PLFFile, backList());
    EXPECT_EQ(first->Text7->text(), "2");
    EXPECT_EQ(w->frontPlayer(), nullptr);

    dispatch(*w, QStringLiteral("08:00:01*x>每天<搜索文件夹-后置排序") + songs);
    ASSERT_NE(w->backPlayer(), first);
    EXPECT_EQ(w->backPlayer()->Text7->text(), "1");
    EXPECT_EQ(media(w->backPlayer())->fileName(), dir.file("songs/a.mp3"));
    EXPECT_FALSE(listText(backList()).isEmpty());
}

TEST_F(FormallFolderPlay, AScheduledFolderPlaysThroughGStreamer) {
    start();
    QDir().mkpath(dir.file("songs"));
    ASSERT_TRUE(writeTone(dir.file("songs/2.wav"), 0.5));
    ASSERT_TRUE(writeTone(dir.file("songs/1.wav"), 0.5));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*没有注释>每天<搜索文件夹-后置排序") +
                                 dir.file("songs")));
    auto w = start();
    w->Timer1->stop();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return w->backPlayer() != nullptr; }, 10000));
    EXPECT_EQ(w->backPlayer()->MediaPlayer1->fileName(), dir.file("songs/1.wav"));
    EXPECT_EQ(w->backPlayer()->MediaPlayer1->playState(), MediaControl::Playing);
}

TEST_F(FormallFolderPlay, AMissingOrSystemFolderFailsThatInstructionOnly) {
    useScriptedMedia();
    start();
    const QString songs = folder({"a.mp3"});
    dir.write("PlayListFile/TEMPFRONT.PLF", TempFolder::quoted("|/earlier/front.mp3"));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(
                  QStringLiteral("|08:00:01*早操>每天<搜索文件夹-前置随机") + dir.file("gone") +
                  QStringLiteral("|08:00:02*没有注释>每天<搜索文件夹-后置排序") + songs +
                  QStringLiteral("|08:00:03*全盘>每天<搜索文件夹-前置随机/")));
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return !w->folderWalkPending(); }, 10000));
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(log.readAll())
            .contains(QStringLiteral("失败：搜索文件夹不存在或无法读取：") + dir.file("gone")));
    EXPECT_EQ(w->frontPlayer(), nullptr);
    EXPECT_TRUE(w->FrontPlayer.isEmpty());
    EXPECT_TRUE(w->MemPath.isEmpty());
    EXPECT_EQ(listText(frontList()), "|/earlier/front.mp3");
    EXPECT_TRUE(w->table().lines().contains(
        QStringLiteral("08:00:01*Error!早操>每天<搜索文件夹-前置随机") + dir.file("gone")));
    EXPECT_TRUE(prompter.shown.isEmpty());

    // The next second's back folder goes to the back player, not the front list.
    clock.advanceMs(1000);
    w->Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return w->backPlayer() != nullptr; }, 10000));
    EXPECT_EQ(listText(backList()), "|" + dir.file("songs/a.mp3"));
    EXPECT_EQ(listText(frontList()), "|/earlier/front.mp3");
    EXPECT_EQ(w->frontPlayer(), nullptr);

    // The root, typed by hand, is refused at its second: no walk through the system.
    AsRunLog::open(dir.path());
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_FALSE(w->folderWalkPending());
    AsRunLog::close();
    log.close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("失败：不能搜索“/”")));
    EXPECT_TRUE(w->table().lines().contains(
        QStringLiteral("08:00:03*Error!全盘>每天<搜索文件夹-前置随机/")));
    EXPECT_EQ(w->frontPlayer(), nullptr);
}

TEST_F(FormallFolderPlay, ThePickerFillsTheCheckedSearchOptionOfTheComposer) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    c.option("Option10")->click(); // 搜索文件夹-前置随机 opens the picker
    FormSelectDirctory* picker = w->folderPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isVisible());
    w->showFolderPicker();
    EXPECT_EQ(w->folderPicker(), picker) << "an open picker is only brought forward";
    const QString songs = folder({"a.mp3"});
    picker->setDir1Path(songs);
    picker->Command1->click();
    EXPECT_EQ(w->SearchPath, songs);
    EXPECT_EQ(c.parameterBox("Text16")->text(), songs);
    for (const char* other : {"Text11", "Text12", "Text15"})
        EXPECT_TRUE(c.parameterBox(QLatin1String(other))->text().isEmpty()) << other;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->folderPicker(), nullptr);

    // The title bar changes nothing.
    c.option("Option37")->click();
    w->folderPicker()->close();
    EXPECT_EQ(w->SearchPath, songs);
    EXPECT_TRUE(c.parameterBox("Text11")->text().isEmpty());

    // A folder a table cannot hold is refused by the composer and not taken.
    dir.write("bad|name/a.mp3", "x");
    c.option("Option38")->click();
    w->folderPicker()->setDir1Path(dir.file("bad|name"));
    w->folderPicker()->Command1_Click();
    EXPECT_EQ(w->SearchPath, songs);
    EXPECT_TRUE(c.parameterBox("Text12")->text().isEmpty());
    EXPECT_EQ(prompter.shown.size(), 1);

    w->showFolderPicker();
    QPointer<FormSelectDirctory> open(w->folderPicker());
    prompter.answers = {Prompter::Answer::Yes};
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull()) << "closing the main window closes the picker";
}
