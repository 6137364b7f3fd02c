#include "scheduler/EmergencyMode.h"
#include "fixtures/TempFolder.h"

#include <gtest/gtest.h>

using campanor::EmergencyMode;

TEST(EmergencyModeTest, StoredTheMomentItChangesAndReadBackAfterARestart) {
    campanor::test::TempFolder dir;
    const QString file = dir.file("Emergency.txt");
    const QDateTime since(QDate(2026, 3, 2), QTime(10, 15, 30));
    {
        EmergencyMode mode(file);
        mode.load();
        EXPECT_FALSE(mode.on());
        EXPECT_TRUE(mode.start(QStringLiteral("/lists/警报 1.PLF"), since));
        EXPECT_FALSE(mode.start(QStringLiteral("/other.PLF"), since.addSecs(5)));
    }
    EmergencyMode again(file); // as after a power cut: nothing was ended
    again.load();
    EXPECT_TRUE(again.on());
    EXPECT_EQ(again.since(), since);
    EXPECT_EQ(again.playlist(), QStringLiteral("/lists/警报 1.PLF"));
    EXPECT_TRUE(again.end(since.addSecs(60)));
    EXPECT_FALSE(again.end(since.addSecs(61)));

    EmergencyMode ended(file);
    ended.load();
    EXPECT_FALSE(ended.on());
    dir.write("Garbled.txt", "\"yes\n");
    EmergencyMode garbled(dir.file("Garbled.txt"));
    garbled.load();
    EXPECT_FALSE(garbled.on());
}
