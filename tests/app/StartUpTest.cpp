#include "app/StartUp.h"
#include "app/FormallFixture.h"
#include "common/AsRunLog.h"
#include "fixtures/WaitUntil.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

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

TEST_F(FormallTest, ADefaultTableOnAnAbsentShareIsTriedAgainAtTheNextStart) {
    start();
    const QString table = dir.path() + "/DayTimeTable/Default.DTT";
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(QStringLiteral("|08:00:00*a>每天<b")));
    const QString onShare = dir.file("share/tables/School.DTT");
    dir.write("DefaultDTT.txt", TempFolder::quoted(onShare));
    prompter.shown.clear();
    AsRunLog::open(dir.path());
    auto w = start();
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();

    // This start runs on the program's own table and says so.
    EXPECT_EQ(w->CurrentTablePath, table);
    EXPECT_EQ(w->Text1->text(), "1");
    EXPECT_EQ(readRecord(dir.file("DefaultDTT.txt")), onShare);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_FALSE(prompter.shown[0].modal);
    EXPECT_TRUE(prompter.shown[0].text.contains(dir.file("share/tables")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll())
                    .contains("默认指令表 " + onShare + " 所在的文件夹 " +
                              dir.file("share/tables") + " 不存在"));

    // Mounted again: the next start loads the stored table.
    dir.write("share/tables/School.DTT", TempFolder::quoted(QStringLiteral("|09:00:00*c>每天<d")));
    w = start();
    EXPECT_EQ(w->CurrentTablePath, onShare);
    EXPECT_EQ(w->table().lines(), QStringList{QStringLiteral("09:00:00*c>每天<d")});
}
