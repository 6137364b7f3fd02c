#include "app/FormallFixture.h"
#include "common/AsRunLog.h"
#include "fixtures/WaitUntil.h"
#include "scheduler/CountdownWindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace campanor;
using namespace campanor::test;

using PowerPrompt = FormallTest;

namespace {

// Today's as-run log, closed for reading.
QString closeAndReadLog() {
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

TEST_F(PowerPrompt, AStraySpaceOrEnterCancelsTheCountdownInsteadOfActing) {
    auto w = start();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<关机"));
        CountdownWindow* window = w->countdown(0);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ASSERT_EQ(QApplication::focusWidget(), window->Command2);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(waitUntil([&] { return w->countdown(0) == nullptr; }));
        EXPECT_TRUE(power.calls.isEmpty());
        EXPECT_EQ(exits, 0);
    }
}

TEST_F(PowerPrompt, BroughtForwardAgainTheFocusIsBackOnCancel) {
    auto w = start();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<重启"));
    CountdownWindow* window = w->countdown(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->Command1->setFocus();
    w->DispatchAction(QStringLiteral("08:00:01*没有注释>每天<重启"));
    EXPECT_EQ(w->countdown(1), window);
    EXPECT_EQ(window->focusWidget(), window->Command2);
    EXPECT_TRUE(power.calls.isEmpty());
}

TEST_F(PowerPrompt, TheRemainingSecondsCarryALabel) {
    auto w = start();
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<注销"));
    CountdownWindow* window = w->countdown(2);
    ASSERT_NE(window, nullptr);
    auto* caption = window->findChild<QLabel*>("LeftCaption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("剩余秒数："));
    EXPECT_EQ(caption->buddy(), window->Label4);
    EXPECT_EQ(window->Label4->text(), "60");
    EXPECT_EQ(window->Label4->accessibleName(), QStringLiteral("剩余秒数"));
}

TEST_F(PowerPrompt, AWaitTypedWithoutAFlagGetsThePromptFlag) {
    // Shut.txt missing, Restart.txt garbled, Logoff.txt intact.
    dir.write("ResetSystem.txt", "1\r\n");
    dir.write("Restart.txt", TempFolder::quoted(QStringLiteral("x30")));
    dir.write("Logoff.txt", TempFolder::quoted(QStringLiteral("关45")));
    auto w = start();
    EXPECT_EQ(w->MenuShutDownWindowsWaitTimeCurrent->text(), QStringLiteral("当前值:60秒"));

    prompter.inputs = {QString("90"), QString("20"), QString("15")};
    w->MenuShutDownWindowsWaitTimeNew_Click();
    w->MenuRestartWaitTimeNew_Click();
    w->MenuLogoffWaitTimeNew_Click();
    EXPECT_EQ(readRecord(dir.file("Shut.txt")), QStringLiteral("开90"));
    EXPECT_EQ(readRecord(dir.file("Restart.txt")), QStringLiteral("开20"));
    EXPECT_EQ(readRecord(dir.file("Logoff.txt")), QStringLiteral("关15")) << "a flag is kept";
    EXPECT_TRUE(w->MenuShutDownWindowsFormOn->isChecked());
    EXPECT_FALSE(w->MenuShutDownWindowsFormOff->isChecked());
    EXPECT_TRUE(w->MenuRestartFormOn->isChecked());
    EXPECT_TRUE(w->MenuLogoffFormOff->isChecked());

    // The countdown waits the typed seconds, not 0.
    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<关机"));
    ASSERT_NE(w->countdown(0), nullptr);
    EXPECT_EQ(w->countdown(0)->Label4->text(), "90");
    w->countdown(0)->Command2_Click();

    // And the next start shows the wait with its flag checked.
    auto again = start();
    EXPECT_EQ(again->MenuShutDownWindowsWaitTimeCurrent->text(), QStringLiteral("当前值:90秒"));
    EXPECT_TRUE(again->MenuShutDownWindowsFormOn->isChecked());
}

TEST_F(PowerPrompt, AMissingOrUnreadableWaitCountsAsSixtySecondsWithThePromptOn) {
    dir.write("ResetSystem.txt", "1\r\n");
    dir.write("Restart.txt", TempFolder::quoted(QStringLiteral("关")));
    dir.write("Logoff.txt", TempFolder::quoted(QStringLiteral("开x")));
    auto w = start();
    EXPECT_TRUE(w->MenuShutDownWindowsFormOn->isChecked());
    EXPECT_FALSE(w->MenuShutDownWindowsFormOff->isChecked());
    EXPECT_TRUE(w->MenuRestartFormOff->isChecked()) << "a readable flag is kept";
    EXPECT_TRUE(w->MenuLogoffFormon->isChecked());
    for (QAction* current : {w->MenuShutDownWindowsWaitTimeCurrent, w->MenuRestartWaitTimeCurrent,
                             w->MenuLogoffWaitTimeCurrent})
        EXPECT_EQ(current->text(), QStringLiteral("当前值:60秒"));

    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<关机"));
    ASSERT_NE(w->countdown(0), nullptr);
    EXPECT_EQ(w->countdown(0)->Label3->text(), "60");
    w->countdown(0)->Timer1_Timer();
    EXPECT_EQ(w->countdown(0)->Label4->text(), "59");
    EXPECT_TRUE(power.calls.isEmpty());
    EXPECT_FALSE(dir.exists("Shut.txt")) << "reading writes nothing";
}

TEST_F(PowerPrompt, APowerInstructionIsLoggedWithTheSystemsAnswer) {
    start(); // the first-run reset: every prompt on, 60 s
    dir.write("Logoff.txt", TempFolder::quoted(QStringLiteral("关60")));
    const QString shut = QStringLiteral("08:00:01*没有注释>每天<关机");
    const QString logoff = QStringLiteral("08:00:02*没有注释>每天<注销");
    const QString restart = QStringLiteral("08:00:03*没有注释>每天<重启");
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(u'|' + shut + u'|' + logoff + u'|' + restart));
    auto w = start();
    AsRunLog::open(dir.path());
    w->Timer1->stop();
    auto nextSecond = [&] {
        clock.advanceMs(1000);
        w->Timer1_Timer();
    };
    power.refusal = QStringLiteral("Interactive authentication required");

    // 立即关机 refused: the countdown closes and the program runs on.
    nextSecond();
    ASSERT_NE(w->countdown(0), nullptr);
    w->countdown(0)->Command1_Click();
    EXPECT_TRUE(waitUntil([&] { return w->countdown(0) == nullptr; }));
    // Log-off without its prompt, refused.
    nextSecond();
    EXPECT_EQ(power.calls, (QStringList{"shutdown", "logoff"}));
    EXPECT_EQ(exits, 0);
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("关机请求没有被系统接受：Interactive authentication required\n"
                             "程序继续运行。"));
    EXPECT_FALSE(prompter.shown[0].modal);
    EXPECT_TRUE(prompter.shown[1].text.startsWith(QStringLiteral("注销请求没有被系统接受")));
    EXPECT_FALSE(prompter.shown[1].modal);
    EXPECT_TRUE(w->table().lines().contains(QStringLiteral("08:00:01*Error!>每天<关机")));
    EXPECT_TRUE(w->table().lines().contains(QStringLiteral("08:00:02*Error!>每天<注销")));

    // Cancelled by the operator.
    nextSecond();
    ASSERT_NE(w->countdown(1), nullptr);
    w->countdown(1)->Command2_Click();
    EXPECT_EQ(power.calls.size(), 2);

    const QString log = closeAndReadLog();
    EXPECT_TRUE(log.contains(QStringLiteral("已打开 60 秒倒计时：") + shut)) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("失败：Interactive authentication required：") + shut));
    EXPECT_TRUE(
        log.contains(QStringLiteral("失败：Interactive authentication required：") + logoff));
    EXPECT_TRUE(log.contains(QStringLiteral("取消：") + restart));
    EXPECT_FALSE(log.contains(QStringLiteral(" 完成："))) << log.toStdString();
}

TEST_F(PowerPrompt, TheCloseBoxAsksAsTheExitCommandDoes) {
    auto w = start();
    w->show();
    EXPECT_FALSE(w->close()) << "No, the default answer, keeps the program";
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(exits, 0);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("真要退出程序吗?"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNoDefaultNo);

    // A second start brings the window up from wherever it is.
    w->showMinimized();
    w->bringToFront();
    EXPECT_FALSE(w->isMinimized());
    w->hide();
    w->bringToFront();
    EXPECT_TRUE(w->isVisible());

    // The session's end closes it without a question.
    w->sessionEnding();
    EXPECT_TRUE(w->close());
    EXPECT_EQ(prompter.shown.size(), 1);
}

TEST_F(PowerPrompt, ClosingTheMainWindowUnderACountdownEndsWithoutPowerCall) {
    auto w = start();
    AsRunLog::open(dir.path());
    w->show();
    const QString shut = QStringLiteral("08:00:00*没有注释>每天<关机");
    w->DispatchAction(shut);
    QPointer<CountdownWindow> window = w->countdown(0);
    ASSERT_TRUE(window && window->isVisible());
    prompter.answers = {Prompter::Answer::Yes};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_TRUE(power.calls.isEmpty());
    EXPECT_TRUE(closeAndReadLog().contains(QStringLiteral("取消：") + shut));
}
