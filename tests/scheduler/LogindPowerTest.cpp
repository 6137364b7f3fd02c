#include "scheduler/LogindPower.h"
#include "fixtures/LogindMock.h"
#include "fixtures/WaitUntil.h"

#include <QTest>
#include <gtest/gtest.h>

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

    // Runs a routine and waits until it reports back.
    template <typename Routine> void runAndWait(Routine routine) {
        bool done = false;
        routine([&done] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }, 10000));
    }

    LogindMock mock;
};

} // namespace

TEST_F(LogindPowerTest, ShutDownAndRestartAskLogindWithoutInteraction) {
    LogindPower power;
    runAndWait([&](auto done) { power.ShutDownNow(done); });
    runAndWait([&](auto done) { power.RestartNow(done); });
    EXPECT_EQ(mock.calls(), (QStringList{"PowerOff(false)", "Reboot(false)"}));
}

TEST_F(LogindPowerTest, LogOffEndsTheSessionNamedByTheEnvironment) {
    qputenv("XDG_SESSION_ID", "c3");
    LogindPower power;
    runAndWait([&](auto done) { power.LogOffNow(done); });
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

TEST_F(LogindPowerTest, ARefusalStillFinishesQuietly) {
    mock.refuse("PowerOff", "b");
    LogindPower power;
    runAndWait([&](auto done) { power.ShutDownNow(done); });
    EXPECT_EQ(mock.calls(), QStringList{"PowerOff(false)"});
}

TEST(LogindPowerWithoutBus, FinishesWithoutHanging) {
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/campanor-test-bus");
    LogindPower power;
    int finished = 0;
    power.ShutDownNow([&] { ++finished; });
    power.LogOffNow([&] { ++finished; });
    EXPECT_TRUE(waitUntil([&] { return finished == 2; }, 3000));
}
