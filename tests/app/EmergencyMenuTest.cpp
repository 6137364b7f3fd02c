#include "FormallFixture.h"

#include "common/AsRunLog.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/WaitUntil.h"
#include "media/Playlist.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace campanor;
using namespace campanor::test;

TEST_F(FormallTest, EmergencyMenuAsksHoldsTheTableLoopsTheAlarmAndEndsFromTheBanner) {
    useScriptedMedia();
    const QString back = scriptedList("Back.PLF", "back.mp3");
    scriptedList("EMERGENCY.PLF", "alarm.mp3");
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:02*x>每天<执行程序/bin/held"
                                                "|08:00:04*x>每天<执行程序/bin/after")));
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    w->DispatchAction(QStringLiteral("08:00:00*x>每天<播音开-静态") + back);
    PlayerWindow* backPlayer = w->backPlayer();
    ASSERT_NE(backPlayer, nullptr);

    prompter.answers = {Prompter::Answer::No};
    w->Emergency_Click();
    EXPECT_FALSE(w->emergency().on());
    prompter.answers = {Prompter::Answer::Yes};
    w->Emergency_Click();
    EXPECT_TRUE(w->emergency().on());
    EXPECT_TRUE(dir.bytes("Emergency.txt").startsWith("\"on")); // stored at once
    ASSERT_TRUE(waitUntil([&] { return w->frontPlayer() != nullptr; }));
    EXPECT_TRUE(w->EmergencyBanner->isVisibleTo(w.get()));
    EXPECT_TRUE(w->EmergencyText->text().contains("2026-12-07 08:00:00"));
    EXPECT_EQ(w->frontPlayer()->PLFFile, dir.file("PlayListFile/EMERGENCY.PLF"));
    EXPECT_TRUE(w->frontPlayer()->Option3->isChecked()); // 全程循环
    EXPECT_EQ(media(w->frontPlayer())->playState(), MediaControl::Playing);
    EXPECT_NE(media(backPlayer)->playState(), MediaControl::Playing);

    for (int second = 1; second <= 4; ++second) {
        clock.advanceMs(1000);
        w->Timer1_Timer();
        if (second == 3)
            w->EmergencyEnd->click();
        QCoreApplication::processEvents();
    }
    // Held while on and not replayed; the one after the end runs.
    EXPECT_EQ(processes.calls, QStringList{"launch /bin/after"});
    EXPECT_FALSE(w->emergency().on());
    EXPECT_FALSE(w->EmergencyBanner->isVisibleTo(w.get()));
    EXPECT_EQ(w->frontPlayer(), nullptr);
    EXPECT_EQ(media(backPlayer)->playState(), MediaControl::Playing);
    AsRunLog::close();
    const QString log = asRunLogText(dir.path());
    EXPECT_TRUE(log.contains("暂停（紧急广播）：08:00:02*x>每天<执行程序/bin/held"));
    EXPECT_TRUE(log.contains("紧急广播开始：2026-12-07 08:00:00"));
    EXPECT_TRUE(log.contains("紧急广播结束：2026-12-07 08:00:03"));
}

TEST_F(FormallTest, EndingAnEmergencyPutsBackWhatItsSuspendedLinesWouldHaveSet) {
    useScriptedMedia();
    const QString morning = scriptedList("Morning.PLF", "morning.mp3");
    const QString later = scriptedList("Later.PLF", "later.mp3");
    scriptedList("EMERGENCY.PLF", "alarm.mp3");
    dir.write("DayTimeTable/Other.DTT",
              TempFolder::quoted(QStringLiteral("|09:00:00*x>每天<执行程序/bin/other")));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:00*x>每天<播音开-静态") + morning +
                                 QStringLiteral("|08:00:01*x>每天<播音开-静态") + later +
                                 QStringLiteral("|08:00:02*x>每天<打开表") +
                                 dir.file("DayTimeTable/Other.DTT")));
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    w->DispatchAction(QStringLiteral("08:00:00*x>每天<播音开-静态") + morning);
    prompter.answers = {Prompter::Answer::Yes};
    w->Emergency_Click();
    ASSERT_TRUE(waitUntil([&] { return w->frontPlayer() != nullptr; }));

    // A restore meanwhile (a resume, a start) leaves the alarm alone.
    w->restoreDay(QStringLiteral("a resume"), QTime(8, 0, 0));
    EXPECT_EQ(w->backPlayer()->PLFFile, morning);
    EXPECT_NE(media(w->backPlayer())->playState(), MediaControl::Playing);

    for (int second = 1; second <= 3; ++second) {
        clock.advanceMs(1000);
        w->Timer1_Timer();
        QCoreApplication::processEvents();
    }
    w->EmergencyEnd->click();
    ASSERT_TRUE(waitUntil([&] { return w->frontPlayer() == nullptr; }));
    QCoreApplication::processEvents();

    // The list and the table that fell due under the alarm are in effect now.
    ASSERT_NE(w->backPlayer(), nullptr);
    EXPECT_EQ(w->backPlayer()->PLFFile, later);
    EXPECT_EQ(media(w->backPlayer())->playState(), MediaControl::Playing);
    EXPECT_EQ(w->CurrentTablePath, dir.file("DayTimeTable/Other.DTT"));
    AsRunLog::close();
    const QString log = asRunLogText(dir.path());
    EXPECT_TRUE(log.contains("暂停（紧急广播）：08:00:01*x>每天<播音开-静态" + later));
    // Logged as suspended, not again as missed.
    EXPECT_FALSE(log.contains("错过（程序没有运行）：08:00:01")) << log.toStdString();
    EXPECT_FALSE(log.contains("错过（程序没有运行）：08:00:02")) << log.toStdString();
    EXPECT_TRUE(log.contains("紧急广播结束后恢复播音状态")) << log.toStdString();
}
