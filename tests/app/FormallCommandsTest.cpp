#include "app/FormallFixture.h"
#include "app/HelpWindow.h"
#include "app/frmAbout.h"
#include "common/AsRunLog.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/WaitUntil.h"
#include "scheduler/CountdownWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>

using namespace campanor;
using namespace campanor::test;

using FormallCommands = FormallTest;

TEST_F(FormallCommands, StartWithTheSystemWritesBothWays) {
    auto w = start();
    w->AUTORUNYES_Click();
    EXPECT_EQ(autoStart.enabled, 1);
    EXPECT_TRUE(w->AUTORUNYES->isChecked());
    EXPECT_FALSE(w->AUTORUNNO->isChecked());
    EXPECT_EQ(readRecord(dir.file("AutoRunYesNo.txt")), "YES");
    // Runs in full even when already checked.
    w->AUTORUNYES_Click();
    EXPECT_EQ(autoStart.enabled, 2);
    w->AUTORUNNO_Click();
    EXPECT_EQ(autoStart.disabled, 2); // once by the first-run reset
    // The entry names this program and the folder it runs on.
    const QString us = QCoreApplication::applicationFilePath() + " " + dir.path();
    EXPECT_EQ(autoStart.calls,
              (QStringList{"disable " + us, "enable " + us, "enable " + us, "disable " + us}));
    EXPECT_EQ(readRecord(dir.file("AutoRunYesNo.txt")), "NO");
}

TEST_F(FormallCommands, ACheckedVisibilityItemWritesNothing) {
    auto w = start();
    QFile::remove(dir.file("show.txt"));
    w->FormShow_Click();
    EXPECT_FALSE(dir.exists("show.txt"));
    w->FormHide_Click();
    EXPECT_EQ(readRecord(dir.file("show.txt")), "hide");
    EXPECT_TRUE(w->FormHide->isChecked());
    EXPECT_FALSE(w->FormShow->isChecked());
    EXPECT_FALSE(w->isMinimized()) << "takes effect at the next start";
}

TEST_F(FormallCommands, ClickingAMenuItemDoesNotToggleItBeforeTheCommand) {
    auto w = start();
    QFile::remove(dir.file("show.txt"));
    w->FormShow->trigger();
    EXPECT_TRUE(w->FormShow->isChecked());
    EXPECT_FALSE(dir.exists("show.txt"));
}

TEST_F(FormallCommands, PromptOffAndOnAgain) {
    auto w = start();
    w->MenuShutDownWindowsFormOff_Click();
    EXPECT_EQ(w->ShutString, QStringLiteral("关60"));
    EXPECT_EQ(readRecord(dir.file("Shut.txt")), QStringLiteral("关60"));
    EXPECT_TRUE(w->MenuShutDownWindowsFormOff->isChecked());
    EXPECT_FALSE(w->MenuShutDownWindowsFormOn->isChecked());
    QFile::remove(dir.file("Shut.txt"));
    w->MenuShutDownWindowsFormOff_Click();
    EXPECT_FALSE(dir.exists("Shut.txt"));
    w->MenuShutDownWindowsFormOn_Click();
    EXPECT_EQ(readRecord(dir.file("Shut.txt")), QStringLiteral("开60"));
    w->MenuLogoffFormOff_Click();
    EXPECT_EQ(readRecord(dir.file("Logoff.txt")), QStringLiteral("关60"));
}

TEST_F(FormallCommands, WaitTimeRefusesBelowOneAndNonNumbers) {
    auto w = start();
    w->MenuRestartFormOff_Click();
    prompter.inputs = {QString("0"), QString("abc"), QString("90")};
    w->MenuRestartWaitTimeNew_Click();
    EXPECT_EQ(prompter.prompts.size(), 3);
    EXPECT_EQ(prompter.prompts[0],
              QStringLiteral("请设定Windows系统发生重新启动事件前等待用户响应的时间(秒)："));
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("等待的秒数要大于1秒！"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(readRecord(dir.file("Restart.txt")), QStringLiteral("关90"));
    EXPECT_EQ(w->MenuRestartWaitTimeCurrent->text(), QStringLiteral("当前值:90秒"));

    prompter.inputs = {QString("1")};
    w->MenuShutDownWindowsWaitTimeNew_Click();
    EXPECT_EQ(w->ShutString, QStringLiteral("开1"));
    // Cancel and an empty answer change nothing.
    prompter.inputs = {std::nullopt};
    w->MenuLogoffWaitTimeNew_Click();
    prompter.inputs = {QString()};
    w->MenuLogoffWaitTimeNew_Click();
    EXPECT_EQ(w->LogoffString, QStringLiteral("开60"));
}

TEST_F(FormallCommands, UnitNameCancelledStoresAnEmptyName) {
    auto w = start();
    prompter.inputs = {QStringLiteral("第一中学")};
    w->SetUser_Click();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Campanor 7.2.363   使用单位：第一中学"));
    prompter.inputs = {std::nullopt};
    w->SetUser_Click();
    EXPECT_EQ(w->windowTitle(), "Campanor 7.2.363");
    EXPECT_EQ(dir.bytes("User.txt"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(prompter.prompts.last(), QStringLiteral("重新设定单位名称："));
}

TEST_F(FormallCommands, SkinIsWrittenAndAppliedAtOnce) {
    dir.write("skin/Paper.skn", "QWidget { background: #f4efe1; }");
    auto w = start();
    w->findChild<QAction*>("Paper")->trigger();
    EXPECT_EQ(readRecord(dir.file("skin.txt")), dir.path() + "/skin/Paper.skn");
    EXPECT_EQ(w->styleSheet(), "QWidget { background: #f4efe1; }");
    // A window opened afterwards reads the same skin.
    w->MenuAbout_Click();
    ASSERT_NE(w->aboutBox(), nullptr);
    EXPECT_EQ(w->aboutBox()->styleSheet(), "QWidget { background: #f4efe1; }");
}

TEST_F(FormallCommands, RingChoiceComparesThePathIgnoringCase) {
    auto w = start();
    dialogs.answers = {dir.path() + "/TIMEUP.MP3"};
    w->RingChoose_Click();
    EXPECT_TRUE(dialogs.asked.first().startsWith(QStringLiteral("请选择一个新的默认乐音：|") +
                                                 dir.path() + "|所有可以播放的文件|*.avi;"));
    EXPECT_FALSE(w->humor->isEnabled());
    EXPECT_EQ(w->CurrentRing->text(), dir.path() + "/TIMEUP.MP3");

    dialogs.answers = {"/srv/bells/school.wav"};
    w->RingChoose_Click();
    EXPECT_TRUE(w->humor->isEnabled());
    EXPECT_EQ(readRecord(dir.file("UserWav.txt")), "/srv/bells/school.wav");

    // Cancelled: unchanged, and the file is written again with the same path.
    QFile::remove(dir.file("UserWav.txt"));
    w->RingChoose_Click();
    EXPECT_EQ(readRecord(dir.file("UserWav.txt")), "/srv/bells/school.wav");

    w->humor_Click();
    EXPECT_EQ(w->DefaultRingPath, dir.path() + "/timeup.mp3");
    EXPECT_FALSE(w->humor->isEnabled());
}

TEST_F(FormallCommands, TryAndStopTheDefaultRing) {
    auto w = start();
    ASSERT_TRUE(writeTone(dir.file("bell.wav"), 2.0));
    dialogs.answers = {dir.file("bell.wav")};
    w->RingChoose_Click();
    w->menuTryRing_Click();
    EXPECT_EQ(w->ringPlayer()->playState(), MediaPlayer::Playing);
    w->menustopsound_Click();
    EXPECT_EQ(w->ringPlayer()->playState(), MediaPlayer::Stopped);
}

TEST_F(FormallCommands, HelpOpensAtItsIndexTopic) {
    dir.write("vomu.chm",
              "<html><body><a name=\"index.html\"></a><h1>Campanor 帮助</h1></body></html>");
    auto w = start();
    w->Register_Click();
    ASSERT_NE(w->helpWindow(), nullptr);
    EXPECT_TRUE(
        w->helpWindow()->browser()->toPlainText().contains(QStringLiteral("Campanor 帮助")));
}

TEST_F(FormallCommands, PowerWordsActAtOnceWhenThePromptIsOff) {
    auto w = start();
    w->MenuShutDownWindowsFormOff_Click();
    w->MenuRestartFormOff_Click();
    w->MenuLogoffFormOff_Click();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<关机"));
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<重启"));
    EXPECT_EQ(exits, 0) << "shutdown and restart leave the program running";
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<注销"));
    EXPECT_EQ(power.calls, (QStringList{"shutdown", "restart", "logoff"}));
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(w->countdown(0), nullptr);
}

TEST_F(FormallCommands, ProgramWordsReachTheLauncher) {
    auto w = start();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<执行程序/usr/bin/xclock -digital"));
    w->DispatchAction(QStringLiteral("08:05:00*没有注释>每天<终止程序"));
    EXPECT_EQ(processes.calls, (QStringList{"launch /usr/bin/xclock -digital", "end"}));
}

TEST_F(FormallCommands, ActionsThatCouldNotBeCarriedOutAreLoggedAsFailedAndMarked) {
    useScriptedMedia();
    start();
    ASSERT_TRUE(writeTone(dir.file("bell.wav"), 2.0));
    dir.write("notes.mp3", "these are notes, not a sound");
    dir.write("PlayListFile/Empty.PLF", TempFolder::quoted(QString()));
    const QStringList lines{
        QStringLiteral("08:00:01*缺文件>每天<") + dir.file("gone.wav"),
        QStringLiteral("08:00:02*不是声音>每天<") + dir.file("notes.mp3"),
        QStringLiteral("08:00:03*缺曲目表>每天<播音开-静态") + dir.file("PlayListFile/Gone.PLF"),
        QStringLiteral("08:00:04*空曲目表>每天<前置播音") + dir.file("PlayListFile/Empty.PLF"),
        QStringLiteral("08:00:05*程序>每天<执行程序/opt/none/bell-program"),
        QStringLiteral("08:00:06*上课>每天<") + dir.file("bell.wav")};
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(u'|' + lines.join(u'|')));
    processes.refusal = QStringLiteral("找不到程序（No such file or directory）：/opt/none");
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    for (int second = 1; second <= 6; ++second) {
        clock.advanceMs(1000);
        w->Timer1_Timer();
    }
    EXPECT_EQ(w->ringPlayer()->playState(), MediaControl::Playing) << "the good ring sounds";
    // The ring that was done, breaking off later, is failed after all.
    emit w->ringPlayer()->failed(dir.file("bell.wav"), QStringLiteral("device lost"));
    AsRunLog::close();

    const QString log = asRunLogText(dir.path());
    const auto logged = [&](const QString& outcome, const QString& line) {
        return log.contains(outcome + QStringLiteral("：") + line);
    };
    EXPECT_TRUE(logged(QStringLiteral("失败：铃声文件不存在：") + dir.file("gone.wav"), lines[0]))
        << log.toStdString();
    EXPECT_TRUE(
        logged(QStringLiteral("失败：铃声文件无法播放（无法打开或解码）：") + dir.file("notes.mp3"),
               lines[1]))
        << log.toStdString();
    EXPECT_TRUE(logged(
        QStringLiteral("失败：曲目表文件不存在：") + dir.file("PlayListFile/Gone.PLF"), lines[2]))
        << log.toStdString();
    EXPECT_TRUE(logged(QStringLiteral("失败：曲目表中没有可播放的曲目：") +
                           dir.file("PlayListFile/Empty.PLF"),
                       lines[3]))
        << log.toStdString();
    EXPECT_TRUE(logged(QStringLiteral("失败：") + processes.refusal, lines[4]))
        << log.toStdString();
    EXPECT_TRUE(logged(QStringLiteral("完成"), lines[5])) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("指令开始后失败：铃声播放中断（device lost）：") +
                             dir.file("bell.wav") + QStringLiteral("：") + lines[5]))
        << log.toStdString();

    QStringList marked;
    for (QString line : lines)
        marked << line.replace(u'*', QStringLiteral("*Error!"));
    EXPECT_EQ(w->table().lines(), marked);
    EXPECT_TRUE(prompter.shown.isEmpty()) << "nothing waits on a person";
}

TEST_F(FormallCommands, CountdownCountsDownThenActsAndEnds) {
    dir.write("Restart.txt", TempFolder::quoted(QStringLiteral("开3")));
    dir.write("ResetSystem.txt", "1\r\n");
    auto w = start();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<重启"));
    CountdownWindow* window = w->countdown(1);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "FormRestartWindows");
    EXPECT_EQ(window->windowTitle(), "Campanor");
    EXPECT_EQ(window->Label1->text(), QStringLiteral("秒钟后将强制重新启动"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("立即重启"));
    EXPECT_EQ(window->Command2->text(), QStringLiteral("取消重启"));
    EXPECT_EQ(window->Label3->text(), "3");
    window->Timer1->stop();
    QStringList seen{window->Label4->text()};
    for (int i = 0; i < 3; ++i) {
        window->Timer1_Timer();
        seen << window->Label4->text();
    }
    EXPECT_EQ(seen, (QStringList{"3", "2", "1", "0"}));
    EXPECT_EQ(window->ProgressBar1->value(), 0);
    // A second due action only brings the window forward: the count stays.
    w->DispatchAction(QStringLiteral("08:00:01*没有注释>星期一<重启"));
    EXPECT_EQ(w->countdown(1), window);
    EXPECT_EQ(window->Label4->text(), "0");
    EXPECT_TRUE(power.calls.isEmpty());
    window->Timer1_Timer();
    EXPECT_EQ(power.calls, QStringList{"restart"});
    EXPECT_EQ(exits, 1);
}

TEST_F(FormallCommands, CountdownCancelAndActNow) {
    auto w = start();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<关机"));
    CountdownWindow* shut = w->countdown(0);
    ASSERT_NE(shut, nullptr);
    EXPECT_EQ(shut->Label4->text(), "60");
    shut->Command2_Click();
    EXPECT_TRUE(waitUntil([&] { return w->countdown(0) == nullptr; }));
    EXPECT_TRUE(power.calls.isEmpty());
    EXPECT_EQ(exits, 0);

    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<注销"));
    ASSERT_NE(w->countdown(2), nullptr);
    EXPECT_EQ(w->countdown(2)->Command1->text(), QStringLiteral("立即注销"));
    w->countdown(2)->Command1_Click();
    EXPECT_EQ(power.calls, QStringList{"logoff"});
    EXPECT_EQ(exits, 1);
}

TEST_F(FormallCommands, AZeroWaitActsAtTheFirstTick) {
    EXPECT_EQ(CountdownWindow::waitSeconds(QStringLiteral("开0")), 0);
    EXPECT_EQ(CountdownWindow::waitSeconds(QStringLiteral("开45x")), 45);
    EXPECT_EQ(CountdownWindow::waitSeconds(QStringLiteral("开")), 0);
    int ended = 0;
    CountdownWindow window(CountdownWindow::Kind::ShutDown, QStringLiteral("开0"), power,
                           [&](bool accepted, const QString&) { ended += accepted; });
    window.Timer1->stop();
    EXPECT_EQ(window.Label4->text(), "0");
    window.Timer1_Timer();
    EXPECT_EQ(power.calls, QStringList{"shutdown"});
    EXPECT_EQ(ended, 1);
}
