#include "app/FormallFixture.h"
#include "fixtures/WaitUntil.h"
#include "scheduler/CountdownWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace campanor;
using namespace campanor::test;

using PowerPrompt = FormallTest;

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
    EXPECT_EQ(w->MenuShutDownWindowsWaitTimeCurrent->text(), QStringLiteral("当前值:秒"));

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
