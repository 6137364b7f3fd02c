#include "scheduler/LogindPower.h"
#include "fixtures/LogindMock.h"
#include "fixtures/WaitUntil.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace campanor;
using campanor::test::LogindMock;
using campanor::test::waitUntil;

namespace {

// Each test is its own process, so the system bus is first opened here,
// after the mock has pointed DBUS_SYSTEM_BUS_ADDRESS at itself.
class LogindPowerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qunsetenv("XDG_SESSION_ID");
        ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    }

    // Runs a routine, waits until it reports back and says whether logind
    // took it on.
    template <typename Routine> bool runAndWait(Routine routine, QString* why = nullptr) {
        std::optional<bool> answer;
        routine([&](bool accepted, const QString& reason) {
            answer = accepted;
            if (why)
                *why = reason;
        });
        EXPECT_TRUE(waitUntil([&] { return answer.has_value(); }, 10000));
        return answer.value_or(false);
    }

    LogindMock mock;
};

} // namespace

TEST_F(LogindPowerTest, ShutDownAndRestartAskLogindWithoutInteraction) {
    LogindPower power;
    EXPECT_TRUE(runAndWait([&](auto done) { power.ShutDownNow(done); }));
    EXPECT_TRUE(runAndWait([&](auto done) { power.RestartNow(done); }));
    EXPECT_EQ(mock.calls(), (QStringList{"PowerOff(false)", "Reboot(false)"}));
}

TEST_F(LogindPowerTest, LogOffEndsTheSessionNamedByTheEnvironment) {
    qputenv("XDG_SESSION_ID", "c3");
    LogindPower power;
    EXPECT_TRUE(runAndWait([&](auto done) { power.LogOffNow(done); }));
    EXPECT_EQ(mock.calls(), QStringList{"TerminateSession(c3)"});
}

TEST_F(LogindPowerTest, LogOffFindsTheCallersSessionThroughLogind) {
    const QString path = mock.addSession("auto");
    LogindPower power;
    runAndWait([&](auto done) { power.LogOffNow(done); });
    EXPECT_TRUE(mock.calls().contains("GetSession(auto)"));
    EXPECT_EQ(mock.calls(path), QStringList{"Terminate()"});
}

TEST_F(LogindPowerTest, LogOffFallsBackToTheSessionList) {
    mock.refuse("GetSession", "s");
    mock.addSession("c7");
    LogindPower power;
    runAndWait([&](auto done) { power.LogOffNow(done); });
    EXPECT_TRUE(mock.calls().contains("TerminateSession(c7)"))
        << mock.calls().join(' ').toStdString();
}

TEST_F(LogindPowerTest, ARefusalOrNoSessionIsAnsweredWithTheReason) {
    mock.refuse("PowerOff", "b");
    LogindPower power;
    QString why;
    EXPECT_FALSE(runAndWait([&](auto done) { power.ShutDownNow(done); }, &why));
    EXPECT_EQ(mock.calls(), QStringList{"PowerOff(false)"});
    EXPECT_EQ(why, "Interactive authentication required");

    // Log-off with no session of ours anywhere: the first refusal is the reason.
    mock.refuse("GetSession", "s");
    EXPECT_FALSE(runAndWait([&](auto done) { power.LogOffNow(done); }, &why));
    EXPECT_EQ(why, "Interactive authentication required");
}

TEST(LogindPowerWithoutBus, AnswersNotAcceptedWithoutHanging) {
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/campanor-test-bus");
    LogindPower power;
    QStringList answers;
    auto record = [&](bool accepted, const QString& why) {
        answers << (accepted ? QStringLiteral("accepted") : why);
    };
    power.ShutDownNow(record);
    power.LogOffNow(record);
    ASSERT_TRUE(waitUntil([&] { return answers.size() == 2; }, 3000));
    for (const QString& answer : answers)
        EXPECT_TRUE(answer.startsWith("没有系统总线")) << answer.toStdString();
}
