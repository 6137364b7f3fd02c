#include "app/StartUp.h"
#include "fixtures/WaitUntil.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::waitUntil;

namespace {

class CountingWindow : public QWidget {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

TEST(StartUp, SlowWorkWaitsForTheFirstFrame) {
    CountingWindow window;
    window.resize(300, 200);
    int paintsSeenByWork = -1;
    int runs = 0;
    afterFirstPaint(
        &window,
        [&] {
            paintsSeenByWork = window.paints;
            ++runs;
        },
        60000);
    // Queued before the window is shown, as start-up does: still nothing runs.
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return runs > 0; }, 10000));
    EXPECT_GE(paintsSeenByWork, 1) << "the window was painted before the work ran";
    window.update();
    QTest::qWait(100);
    EXPECT_EQ(runs, 1);
}

TEST(StartUp, AWindowThatIsNeverPaintedStillGetsTheWork) {
    QWidget window;
    int runs = 0;
    afterFirstPaint(
        &window, [&] { ++runs; }, 50);
    EXPECT_TRUE(waitUntil([&] { return runs == 1; }));
    QTest::qWait(100);
    EXPECT_EQ(runs, 1);
}
