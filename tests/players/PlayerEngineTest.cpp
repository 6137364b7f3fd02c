#include "players/PlayerFixture.h"

#include "common/AsRunLog.h"

#include <QLabel>

using namespace campanor;
using namespace campanor::test;

using PlayerEngine = PlayerTest;

TEST_F(PlayerEngine, LoadShowsTheListAndDropsMissingTracksFromTheFile) {
    const QString plf =
        playlist("Morning.PLF", {track("a.mp3"), dir.file("music/gone.mp3"), track("b.mp3")}, 7);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(shown(w), (QStringList{track("a.mp3"), track("b.mp3")}));
    EXPECT_EQ(readRecord(plf), joinPlaylistText({track("a.mp3"), track("b.mp3")}));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(w->Text3->text(), "0");
    EXPECT_EQ(w->Text4->text(), "1");
    EXPECT_EQ(w->Text6->text(), "7");
    EXPECT_EQ(w->Text7->text(), "1");
    EXPECT_TRUE(w->Check3->isHidden());
    EXPECT_EQ(w->SkinLabel1->text(), QStringLiteral("文件:Morning.PLF"));
    EXPECT_EQ(w->SkinLabel1->toolTip(), QStringLiteral("当前曲目表：") + plf);
    EXPECT_EQ(w->PlayerPath, track("b.mp3"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("后置播音器"));
    EXPECT_EQ(w->objectName(), "FromPlayer");
}

TEST_F(PlayerEngine, TracksOnAnAbsentFolderArePassedOverAndStayInTheFile) {
    const QString usb = dir.file("usb/songs/d.mp3"); // a stick not plugged in yet
    const QString gone = track("gone.mp3");
    const QString usb2 = dir.file("usb/songs/e.mp3");
    const QString plf =
        playlist("Morning.PLF", {track("a.mp3"), usb, gone, track("b.mp3"), usb2, usb});
    AsRunLog::open(dir.path());
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(shown(w), (QStringList{track("a.mp3"), track("b.mp3")}));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(readRecord(plf), joinPlaylistText({track("a.mp3"), usb, track("b.mp3"), usb2, usb}));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString said = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(said.contains("曲目表 " + plf + "：本次不播放 " + usb + ", " + usb2 +
                              "，所在的文件夹 " + dir.file("usb/songs") + " 不存在"))
        << said.toStdString();
    EXPECT_TRUE(said.contains("曲目表 " + plf + "：删去 " + gone + "，文件不存在"));

    // Plugged in: the next load plays it.
    dir.write("usb/songs/d.mp3", "x");
    w = load(PlayerWindow::Role::Back, plf);
    EXPECT_EQ(shown(w), (QStringList{track("a.mp3"), usb, track("b.mp3"), usb}));
}

TEST_F(PlayerEngine, AMissingPlaylistClosesTheWindowAndAnEmptyOneShowsNothing) {
    EXPECT_EQ(load(PlayerWindow::Role::Back, dir.file("PlayListFile/None.PLF")), nullptr);
    PlayerWindow* w = load(PlayerWindow::Role::Back, playlist("Empty.PLF", {}));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Text3->text(), "-1");
    EXPECT_EQ(w->Text4->text(), "0");
}

TEST_F(PlayerEngine, AnUnreadablePlaylistIsLeftAsItIs) {
    QDir(dir.path()).mkpath("PlayListFile/Odd.PLF"); // exists, cannot be read as a file
    PlayerWindow* w = load(PlayerWindow::Role::Back, dir.file("PlayListFile/Odd.PLF"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->List1->count(), 0);
    EXPECT_TRUE(QFileInfo(dir.file("PlayListFile/Odd.PLF")).isDir());
}

TEST_F(PlayerEngine, DefaultPlaylistFallbackIsWrittenBackUnlessItsFolderIsAbsent) {
    dir.write("DefaultPLF.txt", TempFolder::quoted("Reset_System_OK"));
    PlayerWindow* w = load(PlayerWindow::Role::Back, QString());
    ASSERT_NE(w, nullptr);
    const QString fallback = dir.file("PlayListFile/Default.PLF");
    EXPECT_EQ(w->DefaultListPath, fallback);
    EXPECT_EQ(readRecord(dir.file("DefaultPLF.txt")), fallback);
    EXPECT_EQ(w->RealFileName, fallback);
    EXPECT_EQ(w->Command14->toolTip(), QStringLiteral("当前的默认曲目表是：") + fallback);

    // A list on a stick not plugged in yet is used again once it is back.
    const QString onStick = dir.file("NoStick/Music/Day.PLF");
    dir.write("DefaultPLF.txt", TempFolder::quoted(onStick));
    w = load(PlayerWindow::Role::Back, QString());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DefaultListPath, fallback);
    EXPECT_EQ(readRecord(dir.file("DefaultPLF.txt")), onStick);
}

TEST_F(PlayerEngine, ListVolumeAndFolderVolumeAreApplied) {
    const QString plf = playlist("Morning.PLF", {track("a.mp3")});
    dir.write("PlayListFile/Morning.PLF_Volume.txt", "4000\r\n");
    dir.write("PlayListFile/Morning.PLF_Balance.txt", "99999\r\n");
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    EXPECT_EQ(w->Slider2->value(), 4000);
    EXPECT_EQ(w->Slider3->value(), 10000);
    EXPECT_EQ(media(w)->volume(), -1000);

    dir.write("music/Volume.txt", "2500\r\n");
    memPath = dir.file("music");
    PlayerWindow* other = load(PlayerWindow::Role::Front, plf);
    EXPECT_EQ(other->Slider2->value(), 2500);
    EXPECT_EQ(other->Slider3->value(), 0);
    EXPECT_TRUE(memPath.isEmpty());
}

TEST_F(PlayerEngine, AVolumeFileWithoutAWholeNumberGivesTheDefaults) {
    const QString plf = playlist("Morning.PLF", {track("a.mp3")});
    dir.write("PlayListFile/Morning.PLF_Volume.txt", "");
    dir.write("PlayListFile/Morning.PLF_Balance.txt", "-300.5\r\n");
    AsRunLog::open(dir.path());
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    EXPECT_EQ(w->Slider2->value(), 5000);
    EXPECT_EQ(w->Slider3->value(), 0);
    w->Command7_Click();
    EXPECT_EQ(media(w)->fileName(), track("a.mp3"));
    EXPECT_EQ(media(w)->volume(), 0) << "full volume, not -50 dB";

    dir.write("music/Volume.txt", "5000.0\r\n");
    dir.write("music/Balance.txt", "left\r\n");
    memPath = dir.file("music");
    PlayerWindow* folder = load(PlayerWindow::Role::Front, plf);
    EXPECT_EQ(folder->Slider2->value(), 5000);
    EXPECT_EQ(folder->Slider3->value(), 0);
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString said = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(said.contains(dir.file("PlayListFile/Morning.PLF_Volume.txt") + " 中不是整数"));
    EXPECT_TRUE(said.contains(dir.file("music/Volume.txt") + " 中不是整数"));
}

TEST_F(PlayerEngine, StaticPlayRunsThroughTheListAndStopsAtItsEnd) {
    PlayerWindow* w = load(PlayerWindow::Role::Back,
                           playlist("L.PLF", {track("a.mp3"), track("b.mp3"), track("c.mp3")}));
    w->Text7->setText("1");
    w->Command7_Click();
    ScriptedMedia* m = media(w);
    EXPECT_EQ(m->fileName(), track("a.mp3"));
    EXPECT_TRUE(w->Command5->isHidden());
    m->finish();
    EXPECT_EQ(m->fileName(), track("b.mp3"));
    EXPECT_EQ(w->Text4->text(), "2");
    m->finish();
    m->finish();
    // Played to the end: first track selected, nothing open, play button back.
    EXPECT_TRUE(m->fileName().isEmpty());
    EXPECT_EQ(w->Text3->text(), "0");
    EXPECT_EQ(w->List1->currentRow(), 0);
    EXPECT_FALSE(w->Command5->isHidden());
    w->Command5_Click();
    EXPECT_EQ(m->fileName(), track("a.mp3"));
}

TEST_F(PlayerEngine, LoopModes) {
    PlayerWindow* w = load(PlayerWindow::Role::Back, playlist("L.PLF", {track("a.mp3")}));
    w->Command7_Click();
    ScriptedMedia* m = media(w);
    w->Option2->setChecked(true);
    m->finish();
    EXPECT_EQ(m->opened.count(track("a.mp3")), 1) << "one track repeats through Play";
    EXPECT_EQ(m->playState(), MediaControl::Playing);
    w->Option3->setChecked(true);
    m->finish();
    EXPECT_EQ(m->opened.count(track("a.mp3")), 2) << "the whole list repeats through FileName";
    EXPECT_EQ(w->Text4->text(), "1");
}

TEST_F(PlayerEngine, DynamicPlayOfTwoTracksIsReversed) {
    PlayerWindow* w =
        load(PlayerWindow::Role::Back, playlist("L.PLF", {track("a.mp3"), track("b.mp3")}));
    w->Command13_Click();
    EXPECT_EQ(shown(w), (QStringList{track("b.mp3"), track("a.mp3")}));
    EXPECT_EQ(media(w)->fileName(), track("b.mp3"));
    EXPECT_FALSE(w->Check3->isHidden());
    EXPECT_TRUE(w->Check4->isHidden());
}

TEST_F(PlayerEngine, MemoryPlayResumesInsideTheRightTrack) {
    durations[track("a.mp3")] = 120;
    durations[track("b.mp3")] = 180;
    PlayerWindow* w =
        load(PlayerWindow::Role::Back, playlist("M.PLF", {track("a.mp3"), track("b.mp3")}, 200));
    w->Text7->setText("3");
    w->Command15_Click();
    ScriptedMedia* m = media(w);
    EXPECT_EQ(m->fileName(), track("b.mp3"));
    EXPECT_DOUBLE_EQ(m->currentPosition(), 80);
    EXPECT_FALSE(m->mute());
    EXPECT_EQ(w->Text4->text(), "2");
    EXPECT_TRUE(w->Spot);
    EXPECT_TRUE(w->Timer4->isActive());
    EXPECT_FALSE(w->Option2->isEnabled());
    EXPECT_TRUE(w->Option1->isChecked());
    EXPECT_EQ(readRecord(dir.file("PlayOrder.txt")), "1");
    // A second click while it plays does nothing.
    const int opened = m->opened.size();
    w->Command15_Click();
    EXPECT_EQ(m->opened.size(), opened);
}

TEST_F(PlayerEngine, MemoryBeyondTheListStartsAgainAtTheBeginning) {
    durations[track("a.mp3")] = 120;
    durations[track("b.mp3")] = 180;
    const QString plf = playlist("M.PLF", {track("a.mp3"), track("b.mp3")}, 1000);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command15_Click();
    EXPECT_EQ(media(w)->fileName(), track("a.mp3"));
    EXPECT_DOUBLE_EQ(media(w)->currentPosition(), 0);
    EXPECT_EQ(readMemoryPosition(plf), 0);
    EXPECT_EQ(w->Text6->text(), "0");
}

TEST_F(PlayerEngine, CountedSecondsReachTheMemoryFileButNotWhileHeld) {
    const QString plf = playlist("M.PLF", {track("a.mp3")}, 10);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Text7->setText("3");
    w->Command15_Click();
    w->Timer4->stop();
    for (int i = 0; i < 30; ++i)
        w->Timer4_Timer();
    EXPECT_EQ(w->Text6->text(), "40");
    w->Command18_Click(); // hold
    EXPECT_FALSE(w->Timer4->isActive());
    EXPECT_EQ(media(w)->playState(), MediaControl::Paused);
    EXPECT_TRUE(w->Command19->isEnabled());
    w->Command16_Click(); // stop
    EXPECT_EQ(readMemoryPosition(plf), 40);
    EXPECT_FALSE(w->Spot);
    EXPECT_EQ(w->Text7->text(), "1");
    EXPECT_TRUE(w->Command5->isEnabled());
    EXPECT_TRUE(w->Command6->isEnabled());
    EXPECT_FALSE(w->Command16->isEnabled());
}

TEST_F(PlayerEngine, TheFrontPlayersMemoryStopGivesItsButtonsBackToo) {
    PlayerWindow* w = load(PlayerWindow::Role::Front, playlist("M.PLF", {track("a.mp3")}, 0));
    w->Text7->setText("3");
    w->Command15_Click();
    w->Command16_Click();
    EXPECT_TRUE(w->Command5->isEnabled());
    EXPECT_TRUE(w->Command6->isEnabled());
}

TEST_F(PlayerEngine, MemoryPlayWithoutAMemoryFileStartsAtTheTop) {
    const QString plf = playlist("M.PLF", {track("a.mp3"), track("b.mp3")});
    QFile::remove(memoryFileOf(plf));
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    ASSERT_NE(w, nullptr) << "a list without a memory file still loads";
    w->Command15_Click();
    EXPECT_EQ(media(w)->fileName(), track("a.mp3"));
    EXPECT_EQ(readMemoryPosition(plf), 0);
}

TEST_F(PlayerEngine, StoreTypedMemoryPosition) {
    const QString plf = playlist("M.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Text6->setText("345");
    w->Command17_Click();
    EXPECT_EQ(readMemoryPosition(plf), 345);
}

TEST_F(PlayerEngine, PauseFlushesAMemoryRunAndShowsPlay) {
    const QString plf = playlist("M.PLF", {track("a.mp3")}, 5);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command7_Click();
    w->Command6_Click();
    EXPECT_EQ(media(w)->playState(), MediaControl::Paused);
    EXPECT_FALSE(w->Command5->isHidden());
    EXPECT_TRUE(w->Command6->isHidden());
    EXPECT_EQ(readMemoryPosition(plf), 5);
    w->Command5_Click();
    EXPECT_EQ(media(w)->playState(), MediaControl::Playing);
}
