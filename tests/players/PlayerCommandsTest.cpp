#include "common/PowerNotice.h"
#include "dialogs/FormSelectFiles.h"
#include "players/PlayerFixture.h"

#include <QComboBox>

using namespace campanor;
using namespace campanor::test;

using PlayerCommands = PlayerTest;

TEST_F(PlayerCommands, AddAppendsThePickedTracksAndKeepsTheCurrentOne) {
    const QString plf = playlist("L.PLF", {track("a.mp3"), track("b.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->setCurrent(1);
    w->SelectFilesString = "|" + track("c.mp3") + "|" + track("a.mp3");
    w->AddSelectFiles();
    const QStringList expected{track("a.mp3"), track("b.mp3"), track("c.mp3"), track("a.mp3")};
    EXPECT_EQ(readRecord(plf), joinPlaylistText(expected));
    EXPECT_EQ(shown(w), expected);
    EXPECT_EQ(w->Text3->text(), "1");
    EXPECT_EQ(w->Text4->text(), "2");
}

TEST_F(PlayerCommands, AddingToAShuffledListReshufflesIt) {
    const QString plf = playlist("L.PLF", {track("a.mp3"), track("b.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Check4_Click();
    w->SelectFilesString = "|" + track("c.mp3");
    w->AddSelectFiles();
    const QStringList now = shown(w);
    ASSERT_EQ(now.size(), 3);
    EXPECT_NE(now, (QStringList{track("a.mp3"), track("b.mp3"), track("c.mp3")}));
    EXPECT_EQ(readRecord(dir.file("PlayOrder.txt")), "2");
}

TEST_F(PlayerCommands, DeleteRefusesThePlayingTrackAndRemovesEveryOccurrence) {
    const QString plf = playlist("L.PLF", {track("a.mp3"), track("b.mp3"), track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command7_Click();
    w->List1->setCurrentRow(0);
    w->Command2_Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("不能删除正在播放的曲目!"));
    EXPECT_EQ(shown(w).size(), 3);

    w->Command6_Click(); // paused: now it may go
    w->Command2_Click();
    EXPECT_EQ(readRecord(plf), "|" + track("b.mp3"));
    EXPECT_EQ(shown(w), QStringList{track("b.mp3")});
    EXPECT_TRUE(media(w)->fileName().isEmpty());

    w->List1->setCurrentRow(-1);
    w->List1->setCurrentItem(nullptr);
    w->Command2_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("请选择要删除的曲目"));
}

TEST_F(PlayerCommands, ClearIsRefusedWhilePlayingAndAsksFirst) {
    const QString plf = playlist("L.PLF", {track("a.mp3")}, 33);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command7_Click();
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("系统播放状态,不能清空曲目!"));
    w->Command6_Click();
    prompter.answers = {Prompter::Answer::No};
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("要全部清空曲目吗?"));
    EXPECT_EQ(shown(w).size(), 1);
    prompter.answers = {Prompter::Answer::Yes};
    w->Command3_Click();
    EXPECT_EQ(dir.bytes("PlayListFile/L.PLF"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(readMemoryPosition(plf), 0);
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(w->Text3->text(), "-1");
    EXPECT_EQ(w->Text4->text(), "0");
    EXPECT_EQ(w->Text6->text(), "0");
}

TEST_F(PlayerCommands, OpenAsksAgainForAMissingFileThenAdoptsTheList) {
    PlayerWindow* w = load(PlayerWindow::Role::Back, playlist("L.PLF", {track("a.mp3")}));
    const QString other = playlist("Other.PLF", {track("b.mp3"), track("c.mp3")}, 12);
    dir.write("PlayListFile/Other.PLF_Volume.txt", "3000\r\n");
    dialogs.answers = {dir.file("PlayListFile/Nope.PLF"), other};
    w->Command9_Click();
    EXPECT_EQ(dialogs.asked.first(), QStringLiteral("打开曲目表：(*.PLF)|") + dir.path() +
                                         QStringLiteral("/PlayListFile|曲目表 (*.PLF)|*.PLF"));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text,
              dir.file("PlayListFile/Nope.PLF") + QStringLiteral("不存在!请重新选择一个!"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(shown(w), (QStringList{track("b.mp3"), track("c.mp3")}));
    EXPECT_EQ(w->PLFFile, other);
    EXPECT_EQ(w->Text6->text(), "12");
    EXPECT_EQ(w->Slider2->value(), 3000);
    EXPECT_TRUE(w->Command14->isEnabled());
    // Cancel changes nothing.
    w->Command9_Click();
    EXPECT_EQ(w->PLFFile, other);
}

TEST_F(PlayerCommands, SaveAsWritesTheOrderShownAndAsksBeforeOverwriting) {
    PlayerWindow* w = load(PlayerWindow::Role::Back,
                           playlist("L.PLF", {track("a.mp3"), track("b.mp3"), track("c.mp3")}));
    w->Check4_Click();
    const QStringList order = shown(w);
    const QString existing = playlist("Exists.PLF", {});
    const QString target = dir.file("PlayListFile/New.PLF");
    dialogs.answers = {existing, target};
    prompter.answers = {Prompter::Answer::No};
    w->Command10_Click();
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("文件：") + existing + QStringLiteral("已存在，要覆盖它吗？"));
    EXPECT_EQ(readRecord(target), joinPlaylistText(order));
    EXPECT_EQ(readMemoryPosition(target), 0);
    EXPECT_EQ(w->PLFFile, target);
    EXPECT_EQ(readRecord(existing), "") << "the refused file is untouched";

    PlayerWindow* empty = load(PlayerWindow::Role::Front, playlist("E.PLF", {}));
    empty->Command10_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("曲目表为空!"));
}

TEST_F(PlayerCommands, NewCreatesAnEmptyListWithItsMemoryFile) {
    PlayerWindow* w = load(PlayerWindow::Role::Back, playlist("L.PLF", {track("a.mp3")}));
    dialogs.answers = {dir.file("PlayListFile/Fresh")};
    w->Command11_Click();
    const QString fresh = dir.file("PlayListFile/Fresh.PLF");
    EXPECT_EQ(dir.bytes("PlayListFile/Fresh.PLF"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(readMemoryPosition(fresh), 0);
    EXPECT_EQ(w->RealFileName, fresh);
    EXPECT_EQ(w->List1->count(), 0);
    EXPECT_EQ(w->Text3->text(), "-1");
}

TEST_F(PlayerCommands, DefaultButtonRemembersTheList) {
    const QString plf = playlist("L.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command7_Click();
    EXPECT_TRUE(w->Command14->isEnabled());
    w->Command14_Click();
    EXPECT_EQ(readRecord(dir.file("DefaultPLF.txt")), plf);
    EXPECT_FALSE(w->Command14->isEnabled());
    EXPECT_EQ(prompter.shown.last().text,
              plf + QStringLiteral("已被设置为默认的曲目表,下次程序启动时它将被调用!"));
    EXPECT_EQ(prompter.shown.last().icon, Prompter::Icon::Information);
}

TEST_F(PlayerCommands, VolumeAndBalanceMenus) {
    const QString plf = playlist("L.PLF", {track("a.mp3"), dir.file("music/sub/d.mp3")});
    dir.write("music/sub/d.mp3", "x");
    writePlaylistFile(plf, joinPlaylistText({dir.file("music/sub/d.mp3"), track("a.mp3")}));
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->ReadFromPLFVolume_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("当前曲目表没有音量设置文件"));
    w->Slider2->setValue(1234);
    w->SaveToPLFVolume_Click();
    EXPECT_EQ(dir.bytes("PlayListFile/L.PLF_Volume.txt"), QByteArray("1234\r\n"));
    w->Slider2->setValue(5000);
    w->ReadFromPLFVolume_Click();
    EXPECT_EQ(w->Slider2->value(), 1234);

    // The search folder is the shortest folder of the tracks shown.
    w->Slider3->setValue(-300);
    w->SaveToSearchFileBalance_Click();
    EXPECT_EQ(dir.bytes("music/Balance.txt"), QByteArray("-300\r\n"));
    EXPECT_EQ(w->List1->currentRow(), 1) << "the last line is left selected";
    w->ReadFromSearchDirectoryVolume_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("当前搜索文件夹内没有音量设置文件"));

    PlayerWindow* empty = load(PlayerWindow::Role::Front, playlist("E.PLF", {}));
    empty->SaveToSearchDirectoryVolume_Click();
    EXPECT_EQ(prompter.shown.last().text,
              QStringLiteral("曲目表为空，操作不能进行。请在曲目表中加入要搜索的文件夹中的曲目，"
                             "再进行本操作！"));
}

TEST_F(PlayerCommands, DoubleClickPlaysTheLineAndOrderBoxesKeepTheCurrentTrack) {
    PlayerWindow* w = load(PlayerWindow::Role::Back,
                           playlist("L.PLF", {track("a.mp3"), track("b.mp3"), track("c.mp3")}));
    w->List1->setCurrentRow(2);
    w->List1_DblClick();
    EXPECT_EQ(media(w)->fileName(), track("c.mp3"));
    EXPECT_EQ(w->Text4->text(), "3");
    w->Check4_Click();
    EXPECT_EQ(w->List1->currentItem()->text(), track("c.mp3"));
    w->Check3_Click();
    EXPECT_EQ(shown(w), (QStringList{track("a.mp3"), track("b.mp3"), track("c.mp3")}));
    EXPECT_EQ(w->Text3->text(), "2");
    EXPECT_EQ(media(w)->fileName(), track("c.mp3")) << "the current track keeps playing";
    w->Check1->setChecked(true);
    w->Check1_Click();
    EXPECT_TRUE(media(w)->mute());
}

TEST_F(PlayerCommands, TrackPickerHandsItsSelectionToItsPlayer) {
    dir.write("music/notes.txt", "x");
    dir.write("music/D.WAV", "x");
    const QString plf = playlist("L.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Front, plf);
    w->Command1_Click();
    FormSelectFiles* picker = w->picker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->objectName(), "FormSelectFilesB");
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("曲目选择器"));
    EXPECT_EQ(picker->folder(), dir.file("music"));
    QStringList files;
    for (int i = 0; i < picker->File1->count(); ++i)
        files << picker->File1->item(i)->text();
    EXPECT_EQ(files, (QStringList{"a.mp3", "b.mp3", "c.mp3", "D.WAV"}));
    picker->Command1_Click();
    picker->File1->item(0)->setSelected(false);
    picker->Command3_Click();
    EXPECT_EQ(picker->SelectFilesString,
              "|" + track("b.mp3") + "|" + track("c.mp3") + "|" + dir.file("music/D.WAV"));
    EXPECT_EQ(shown(w).size(), 4);
    EXPECT_EQ(readRecord(plf), "|" + track("a.mp3") + picker->SelectFilesString);
}

TEST_F(PlayerCommands, TrackPickerCancelAndRoots) {
    const QString plf = playlist("L.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command1_Click();
    FormSelectFiles* picker = w->picker();
    EXPECT_EQ(picker->objectName(), "FormSelectFiles");
    picker->Command1_Click();
    picker->Command4_Click();
    EXPECT_TRUE(picker->SelectFilesString.isEmpty());
    EXPECT_EQ(readRecord(plf), "|" + track("a.mp3"));
    EXPECT_EQ(FormSelectFiles::drives().first(), "/");

    // At the root the separator is not doubled.
    w->Command1_Click();
    picker = w->picker();
    picker->setFolder("/");
    EXPECT_EQ(picker->folder(), "/");
    EXPECT_EQ(picker->Drive1->currentText(), "/");
    picker->File1->addItem("bell.mp3");
    picker->File1->item(picker->File1->count() - 1)->setSelected(true);
    picker->Command3_Click();
    EXPECT_EQ(picker->SelectFilesString, "|/bell.mp3");
}

TEST_F(PlayerCommands, PickerRefusesNamesAPlaylistCannotHoldAndAddsTheRest) {
    for (const char* name : {"a|b.wav", "say \"hi\".wav", "ok.wav"})
        dir.write(QStringLiteral("odd/%1").arg(QString::fromUtf8(name)), "x");
    const QString plf = playlist("L.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command1_Click();
    FormSelectFiles* picker = w->picker();
    picker->setFolder(dir.file("odd"));
    picker->Command1_Click();
    picker->Command3_Click();
    EXPECT_EQ(readRecord(plf), "|" + track("a.mp3") + "|" + dir.file("odd/ok.wav"));
    EXPECT_EQ(shown(w).size(), 2);
    ASSERT_FALSE(prompter.shown.isEmpty());
    EXPECT_TRUE(prompter.shown.last().text.contains("a|b.wav"));
    EXPECT_TRUE(prompter.shown.last().text.contains("say \"hi\".wav"));
    EXPECT_FALSE(prompter.shown.last().text.contains("ok.wav"));

    // Only refused names: nothing is added, and the player is not called.
    FormSelectFiles alone("FormSelectFiles", dir.file("odd/ok.wav"), QString(), &prompter);
    bool called = false;
    QObject::connect(&alone, &FormSelectFiles::filesChosen, [&] { called = true; });
    EXPECT_EQ(alone.folder(), dir.file("odd"));
    for (int i = 0; i < alone.File1->count(); ++i)
        alone.File1->item(i)->setSelected(alone.File1->item(i)->text() != "ok.wav");
    alone.Command3_Click();
    EXPECT_FALSE(called);

    // The folder's name counts as much as the file's.
    dir.write("odd|dir/e.mp3", "x");
    w->Command1_Click();
    picker = w->picker();
    picker->setFolder(dir.file("odd|dir"));
    picker->Command1_Click();
    picker->Command3_Click();
    EXPECT_EQ(readRecord(plf), "|" + track("a.mp3") + "|" + dir.file("odd/ok.wav"));
    EXPECT_TRUE(prompter.shown.last().text.contains(dir.file("odd|dir/e.mp3")));
}

TEST_F(PlayerCommands, AListThatCouldNotBeReadIsNeverOverwritten) {
    QDir(dir.path()).mkpath("PlayListFile/Odd.PLF"); // exists, cannot be read as a file
    const QString odd = dir.file("PlayListFile/Odd.PLF");
    PlayerWindow* w = load(PlayerWindow::Role::Back, odd);
    ASSERT_NE(w, nullptr);
    const QString refusal = QStringLiteral("曲目表无法读取，不能修改：") + odd;
    w->SelectFilesString = "|" + track("b.mp3");
    w->AddSelectFiles();
    EXPECT_EQ(prompter.shown.last().text, refusal);
    w->Command1_Click();
    EXPECT_EQ(w->picker(), nullptr) << "no picker for a list that cannot take tracks";
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.size(), 3);
    EXPECT_EQ(prompter.shown.last().text, refusal);
    EXPECT_TRUE(QFileInfo(odd).isDir());

    // Another list opened in the same window can be edited again.
    dialogs.answers = {playlist("Fine.PLF", {track("a.mp3")})};
    w->Command9_Click();
    w->SelectFilesString = "|" + track("b.mp3");
    w->AddSelectFiles();
    EXPECT_EQ(shown(w).size(), 2);
}

TEST_F(PlayerCommands, FailedSaveAsKeepsTheOldNameAndSaysSo) {
    const QString plf = playlist("L.PLF", {track("a.mp3")});
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    const QString nowhere = dir.file("no/such/folder/New.PLF");
    dialogs.answers = {nowhere};
    w->Command10_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("曲目表无法保存：") + nowhere);
    EXPECT_EQ(w->SkinLabel1->text(), QStringLiteral("文件:L.PLF"));
    EXPECT_EQ(w->RealFileName, plf);
}

TEST_F(PlayerCommands, TheTypedMemoryPositionMustBeAWholeNumber) {
    const QString plf = playlist("M.PLF", {track("a.mp3")}, 12);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    for (const char* typed : {"abc", "1.5", "-3", ""}) {
        w->Text6->setText(typed);
        w->Command17_Click();
        EXPECT_EQ(readMemoryPosition(plf), 12) << typed;
        EXPECT_EQ(prompter.shown.last().icon, Prompter::Icon::Critical);
    }
    w->Text6->setText(" 90 ");
    w->Command17_Click();
    EXPECT_EQ(readMemoryPosition(plf), 90);
}

TEST_F(PlayerCommands, AMemoryRunReachesItsFileEveryThirtySeconds) {
    durations[track("a.mp3")] = 600;
    const QString plf = playlist("M.PLF", {track("a.mp3")}, 100);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf);
    w->Command15_Click();
    w->Timer4->stop();
    for (int i = 0; i < 29; ++i)
        w->Timer4_Timer();
    EXPECT_EQ(readMemoryPosition(plf), 100);
    w->Timer4_Timer();
    EXPECT_EQ(readMemoryPosition(plf), 130) << "no stop needed";
    for (int i = 0; i < 5; ++i)
        w->Timer4_Timer();
    PowerNotice::instance().announce(); // a shutdown is on its way
    EXPECT_EQ(readMemoryPosition(plf), 135);
    w->Timer4_Timer();
    w->Command16_Click();
    EXPECT_EQ(readMemoryPosition(plf), 136) << "each second counted once";
}
