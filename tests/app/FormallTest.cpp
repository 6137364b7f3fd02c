#include "app/FormallFixture.h"
#include "common/AsRunLog.h"
#include "common/AutoStart.h"
#include "common/FileDialogs.h"
#include "common/Power.h"
#include "common/Processes.h"
#include "fixtures/Audio.h"
#include "fixtures/FakeCard.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/ScriptedPrompter.h"
#include "fixtures/TempFolder.h"
#include "fixtures/TestClock.h"
#include "players/MediaPlayer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

TEST_F(FormallTest, FirstStartInAnEmptyFolder) {
    dir.write("skin/B-Studio.skn", "QWidget { color: red; }");
    auto w = start();
    EXPECT_EQ(w->windowTitle(), "Campanor 7.2.363");
    EXPECT_EQ(autoStart.disabled, 1);
    EXPECT_TRUE(item(*w, "AUTORUNNO")->isChecked());
    EXPECT_FALSE(item(*w, "AUTORUNYES")->isChecked());
    EXPECT_TRUE(item(*w, "FormShow")->isChecked());
    EXPECT_FALSE(item(*w, "FormHide")->isChecked());
    for (const char* on : {"MenuShutDownWindowsFormOn", "MenuRestartFormOn", "MenuLogoffFormon"})
        EXPECT_TRUE(item(*w, on)->isChecked()) << on;
    for (const char* off :
         {"MenuShutDownWindowsFormOff", "MenuRestartFormOff", "MenuLogoffFormOff"})
        EXPECT_FALSE(item(*w, off)->isChecked()) << off;
    for (const char* current : {"MenuShutDownWindowsWaitTimeCurrent", "MenuRestartWaitTimeCurrent",
                                "MenuLogoffWaitTimeCurrent"})
        EXPECT_EQ(item(*w, current)->text(), QStringLiteral("当前值:60秒")) << current;
    EXPECT_EQ(item(*w, "CurrentRing")->text(), dir.path() + "/timeup.mp3");
    EXPECT_FALSE(item(*w, "humor")->isEnabled());
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(w->Text1->toolTip(), QStringLiteral("总记录数"));
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(w->RadioLineIn, 1);
    EXPECT_EQ(w->SkinLabel2->text(), QStringLiteral("文件:Default.DTT"));
    EXPECT_EQ(w->SkinLabel2->toolTip(),
              QStringLiteral("文件:") + dir.path() + "/DayTimeTable/Default.DTT");
    EXPECT_FALSE(w->Command7->isEnabled());
    EXPECT_EQ(w->Command7->toolTip(),
              QStringLiteral("当前默认的指令表是：") + dir.path() + "/DayTimeTable/Default.DTT");
    EXPECT_EQ(dir.bytes("DefaultDTT.txt"),
              TempFolder::quoted(dir.path() + "/DayTimeTable/Default.DTT"));
    EXPECT_EQ(w->List1->count(), 24);
    EXPECT_EQ(w->List2->item(59)->text(), "59");
    EXPECT_EQ(w->List3->item(0)->text(), "00");
    EXPECT_EQ(w->styleSheet(), "QWidget { color: red; }");
}

TEST_F(FormallTest, SecondStartKeepsChangedSettings) {
    start();
    dir.write("Shut.txt", TempFolder::quoted(QStringLiteral("关45")));
    dir.write("show.txt", TempFolder::quoted("hide"));
    dir.write("User.txt", TempFolder::quoted(QStringLiteral("第一中学")));
    dir.write("AutoRunYesNo.txt", TempFolder::quoted("YES"));
    dir.write("Logoff.txt", TempFolder::quoted("x9"));
    QFile::remove(dir.file("Restart.txt"));
    auto w = start();
    EXPECT_EQ(autoStart.disabled, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Campanor 7.2.363   使用单位：第一中学"));
    EXPECT_TRUE(item(*w, "MenuShutDownWindowsFormOff")->isChecked());
    EXPECT_FALSE(item(*w, "MenuShutDownWindowsFormOn")->isChecked());
    EXPECT_EQ(item(*w, "MenuShutDownWindowsWaitTimeCurrent")->text(),
              QStringLiteral("当前值:45秒"));
    // A missing or garbled prompt is the reset's: on, 60 s.
    EXPECT_EQ(item(*w, "MenuRestartWaitTimeCurrent")->text(), QStringLiteral("当前值:60秒"));
    EXPECT_TRUE(item(*w, "MenuLogoffFormon")->isChecked());
    EXPECT_FALSE(item(*w, "MenuLogoffFormOff")->isChecked());
    EXPECT_TRUE(item(*w, "FormHide")->isChecked());
    EXPECT_TRUE(item(*w, "AUTORUNYES")->isChecked());
    w->showAtStartUp();
    EXPECT_TRUE(w->isMinimized());
}

TEST_F(FormallTest, DeletedResetSystemResetsAllButTheUnitName) {
    start();
    dir.write("User.txt", TempFolder::quoted(QStringLiteral("二中")));
    dir.write("Shut.txt", TempFolder::quoted(QStringLiteral("关45")));
    QFile::remove(dir.file("ResetSystem.txt"));
    auto w = start();
    EXPECT_EQ(w->ShutString, QStringLiteral("开60"));
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral("二中")));
}

TEST_F(FormallTest, ListsTheDefaultTableSortedAndFallsBackFromAMissingOne) {
    start();
    const QString table =
        QStringLiteral("|08:00:00*没有注释>每月1日<a.mp3|07:00:00*早操>星期五<b.mp3");
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(table));
    dir.write("DefaultDTT.txt", TempFolder::quoted(dir.path() + "/DayTimeTable/Deleted.DTT"));
    auto w = start();
    EXPECT_EQ(w->CurrentTablePath, dir.path() + "/DayTimeTable/Default.DTT");
    EXPECT_EQ(readRecord(dir.file("DefaultDTT.txt")), w->CurrentTablePath);
    EXPECT_EQ(w->Text1->text(), "2");
    ASSERT_EQ(w->ListView1->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = w->ListView1->topLevelItem(0);
    EXPECT_EQ(first->text(0), "1");
    EXPECT_EQ(first->text(1), QStringLiteral("早操"));
    EXPECT_EQ(first->text(2), QStringLiteral("星期五"));
    EXPECT_EQ(first->text(3), "07:00:00");
    EXPECT_EQ(first->text(4), "b.mp3");
    EXPECT_EQ(w->ListView1->topLevelItem(1)->text(1), "");
}

TEST_F(FormallTest, AnUnreadableOtherTableNeverCostsTheDefaultTable) {
    start();
    const QByteArray defaultTable = TempFolder::quoted(QStringLiteral("|07:00:00*keep>每天<a.mp3"));
    dir.write("DayTimeTable/Default.DTT", defaultTable);
    QDir(dir.path()).mkpath("DayTimeTable/Other.DTT"); // exists, cannot be read as a file
    dir.write("DefaultDTT.txt", TempFolder::quoted(dir.path() + "/DayTimeTable/Other.DTT"));
    auto w = start();
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(dir.bytes("DayTimeTable/Default.DTT"), defaultTable);
}

TEST_F(FormallTest, AnUnreadableDefaultTableIsReplacedByAnEmptyOne) {
    start();
    QFile::remove(dir.file("DayTimeTable/Default.DTT"));
    auto w = start();
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(dir.bytes("DayTimeTable/Default.DTT"), QByteArray("\"\"\r\n"));
    EXPECT_TRUE(item(*w, "MenuShutDownWindowsFormOn")->isChecked());
}

TEST_F(FormallTest, TheTickRingsADueLineAndReleasesTheFileAtItsEnd) {
    start();
    const QString bell = dir.file("bell.wav");
    ASSERT_TRUE(writeTone(bell, 0.4));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*没有注释>每天<") + bell));
    auto w = start();
    w->Timer1->stop();
    QSignalSpy ends(w->ringPlayer(), &MediaPlayer::endOfStream);
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->DueRingPath, bell);
    EXPECT_EQ(w->MediaPlayer1->fileName(), bell);
    EXPECT_EQ(w->MediaPlayer1->playState(), MediaPlayer::Playing);
    EXPECT_TRUE(w->Timer1->isSingleShot());
    EXPECT_LE(w->Timer1->remainingTime(), 1000);
    EXPECT_EQ(w->DisplayTimeLabel->text(),
              QStringLiteral("Win32系统时钟>08:00:01 本软件内部时钟>08:00:01"));
    ASSERT_TRUE(ends.wait(5000));
    EXPECT_TRUE(w->MediaPlayer1->fileName().isEmpty());
    EXPECT_EQ(w->MediaPlayer1->playState(), MediaPlayer::Closed);
}

TEST_F(FormallTest, OpenTableActionSwitchesTheCurrentTable) {
    start();
    const QString other = dir.file("DayTimeTable/Autumn.DTT");
    dir.write("DayTimeTable/Autumn.DTT",
              TempFolder::quoted(QStringLiteral("|09:00:00*x>每天<a.mp3")));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*换表>每天<打开表") + other));
    auto w = start();
    w->Timer1->stop();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->CurrentTablePath, other);
    EXPECT_EQ(w->Text1->text(), "1");
    EXPECT_TRUE(w->Command7->isEnabled());
    EXPECT_EQ(w->SkinLabel2->text(), QStringLiteral("文件:Autumn.DTT"));

    w->OpenTableByInstruction(dir.file("DayTimeTable/Missing.DTT"));
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(w->SkinLabel2->text(), QStringLiteral("文件:"));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(FormallTest, ExitAsksAndOnlyYesEnds) {
    auto w = start();
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    w->MenuzExit_Click();
    EXPECT_EQ(exits, 0);
    w->MenuzExit_Click();
    EXPECT_EQ(exits, 1);
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("真要退出程序吗?"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNoDefaultNo);
}

TEST_F(FormallTest, MenuBarHasEveryTopLevelMenuInOrder) {
    auto w = start();
    QStringList names;
    for (QAction* a : w->menuBar()->actions())
        names << a->objectName();
    EXPECT_EQ(names, (QStringList{"Menu1", "changeSkin", "music", "Menu4", "MenuJustTime",
                                  "DetalHelp", "DisplayTime"}));
    EXPECT_EQ(item(*w, "Zhelezo")->text(), "[12]Zhelezo");
    EXPECT_EQ(item(*w, "Web_II")->text(), "[10]Web-II");
    for (const char* name :
         {"SetUser", "RingChoose", "menuTryRing", "menustopsound", "ReportPlayerNew", "Player",
          "Register", "MenuAbout", "dd", "MenuMyHttp", "MenuShutDownWindowsWaitTimeNew",
          "MenuRestartWaitTimeNew", "MenuLogoffWaitTimeNew"})
        EXPECT_NE(item(*w, name), nullptr) << name;
}

TEST_F(FormallTest, LineAndMicrophoneActionsSwitchTheCard) {
    FakeCard card;
    start();
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*没有注释>每天<线路关闭"
                                                "|08:00:02*没有注释>每天<麦克风关"
                                                "|08:00:03*没有注释>每天<线路打开")));
    auto w = start();
    w->Timer1->stop();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(card.value("Line Playback Switch"), 0);
    EXPECT_EQ(card.value("Mic Playback Switch"), 1);
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(card.value("Mic Playback Switch"), 0);
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(card.value("Line Playback Switch"), 1);
    w->MicOn();
    EXPECT_EQ(card.value("Mic Playback Switch"), 1);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(FormallTest, ASwitchWithoutACardOrItsLineFailsWithoutBlockingTheTick) {
    start();
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*没有注释>每天<线路关闭"
                                                "|08:00:02*早操>每天<麦克风关")));
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    qputenv("CAMPANOR_MIXER_DEVICE", "hw:7");
    clock.advanceMs(1000);
    w->Timer1_Timer();
    qunsetenv("CAMPANOR_MIXER_DEVICE");
    {
        FakeCard card(FakeCard::Variant::NoMic);
        clock.advanceMs(1000);
        w->Timer1_Timer();
    }
    AsRunLog::close();
    const QString log = asRunLogText(dir.path());
    EXPECT_TRUE(log.contains(QStringLiteral("失败：找不到声卡混音器 hw:7（"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("失败：声卡混音器 fakecard 没有麦克风（Mic）的开关："
                                            "08:00:02*早操>每天<麦克风关")))
        << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral(" 完成："))) << log.toStdString();
    EXPECT_EQ(w->table().lines(),
              (QStringList{QStringLiteral("08:00:01*Error!>每天<线路关闭"),
                           QStringLiteral("08:00:02*Error!早操>每天<麦克风关")}));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("找不到声卡混音器！"));
    EXPECT_FALSE(prompter.shown[0].modal);
}

TEST_F(FormallTest, CommitSelectsTheNewRowAndRefusesAQuotationMark) {
    start();
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|09:00:00*没有注释>每天<a.mp3")));
    auto w = start();
    const QString line = QStringLiteral("08:00:00*没有注释>星期一<b.mp3");
    ASSERT_TRUE(w->CommitInstruction("|" + line));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(w->VS, line);
    EXPECT_EQ(w->ListView1->currentItem(), w->ListView1->topLevelItem(0))
        << "weekday rules sort first";
    EXPECT_EQ(readRecord(dir.file("DayTimeTable/Default.DTT")),
              QStringLiteral("|09:00:00*没有注释>每天<a.mp3|") + line);

    EXPECT_FALSE(w->CommitInstruction(QStringLiteral("|10:00:00*say \"hi\">每天<c.mp3")));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(w->VS, line);
}

TEST_F(FormallTest, ClockCorrectionTakesTheSystemTime) {
    auto w = start();
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
    w->MenuJustMyTimeAuto_Click();
    EXPECT_EQ(w->internalClock().text(), "09:05:07");
    EXPECT_TRUE(w->Timer1->isActive());
    // The operator is told what the click did, without a box to wait on.
    EXPECT_EQ(
        prompter.shown.value(0).text,
        QStringLiteral("内部时钟慢了 3907 秒，已校到系统时钟的 09:05:07（其间的指令不补执行）。"));
    // Set back, it holds rather than run a second twice.
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)));
    w->MenuJustMyTimeAuto_Click();
    EXPECT_EQ(w->internalClock().text(), "09:05:07");
    EXPECT_EQ(
        prompter.shown.value(1).text,
        QStringLiteral("内部时钟快了 307 秒，将停走到系统时钟赶上为止（指令不会重复执行）。"));
}

TEST_F(FormallTest, AnAutostartEntryThatCannotBeWrittenLeavesTheMenuAsItWas) {
    TempFolder config;
    config.write("autostart", "a file where the folder belongs");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    XdgAutoStart entry;
    autoStartService = &entry;
    auto w = start();
    AsRunLog::open(dir.path());
    w->AUTORUNYES_Click();
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(prompter.shown.value(0).text,
              QStringLiteral("开机启动项无法写入，开机启动没有设置！"));
    EXPECT_EQ(prompter.shown.value(0).icon, Prompter::Icon::Critical);
    EXPECT_FALSE(w->AUTORUNYES->isChecked());
    EXPECT_TRUE(w->AUTORUNNO->isChecked());
    EXPECT_EQ(readRecord(dir.file("AutoRunYesNo.txt")), "NO");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains("开机启动：设置失败"));
}
