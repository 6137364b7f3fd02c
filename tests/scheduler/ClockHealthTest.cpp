#include "scheduler/ClockHealth.h"
#include "fixtures/TimedatedMock.h"
#include "fixtures/WaitUntil.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TimedatedMock;
using campanor::test::waitUntil;
using State = ClockHealth::State;

namespace {

State settledState(ClockHealth& health) {
    waitUntil([&] { return health.state() != State::Unknown; }, 10000);
    return health.state();
}

} // namespace

TEST(ClockHealthTest, FollowsTimedatedAsTheClockLosesAndRegainsSync) {
    TimedatedMock mock(true);
    ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    ClockHealth health(mock.connection());
    std::vector<State> seen;
    QObject::connect(&health, &ClockHealth::stateChanged, [&](State s) { seen.push_back(s); });

    health.start();
    EXPECT_EQ(settledState(health), State::Synchronized);
    EXPECT_FALSE(clockHealthIsWarning(health.state()));

    mock.setNtp(false);
    health.check();
    EXPECT_TRUE(waitUntil([&] { return health.state() == State::NotSynchronized; }, 10000));
    EXPECT_TRUE(clockHealthIsWarning(health.state()));

    mock.setNtp(true);
    health.check();
    EXPECT_TRUE(waitUntil([&] { return health.state() == State::Synchronized; }, 10000));
    EXPECT_EQ(seen, (std::vector<State>{State::Synchronized, State::NotSynchronized,
                                        State::Synchronized}));
}

TEST(ClockHealthTest, AnUnsynchronisedClockIsAWarningFromTheFirstAnswer) {
    TimedatedMock mock(false);
    ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    ClockHealth health(mock.connection());
    health.start();
    EXPECT_EQ(settledState(health), State::NotSynchronized);
    EXPECT_EQ(clockHealthText(health.state()),
              QStringLiteral("警告：系统时钟没有与网络时间同步，指令可能不准时"));
}

TEST(ClockHealthTest, NoTimedatedOrNoBusIsAWarning) {
    TimedatedMock bus(true, TimedatedMock::Service::Absent);
    ASSERT_TRUE(bus.ready()) << bus.error().toStdString();
    ClockHealth health(bus.connection());
    health.start();
    EXPECT_EQ(settledState(health), State::NoService);
    EXPECT_TRUE(clockHealthIsWarning(health.state()));

    ClockHealth noBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                    QStringLiteral("no-bus")));
    noBus.start();
    EXPECT_EQ(settledState(noBus), State::NoService);
    QDBusConnection::disconnectFromBus(QStringLiteral("no-bus"));
}

TEST(ClockHealthTest, PeriodicChecksNoticeAChangeWithoutBeingAsked) {
    TimedatedMock mock(true);
    ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    ClockHealth health(mock.connection());
    health.start(100);
    EXPECT_EQ(settledState(health), State::Synchronized);
    mock.setNtp(false);
    EXPECT_TRUE(waitUntil([&] { return health.state() == State::NotSynchronized; }, 10000));
}
