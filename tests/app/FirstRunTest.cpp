#include "app/Settings.h"
#include "fixtures/TempFolder.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

namespace {
QByteArray q(const QString& text) {
    return TempFolder::quoted(text);
}
} // namespace

TEST(FirstRun, DecidesFromResetSystem) {
    TempFolder dir;
    Settings settings(dir.path());
    EXPECT_TRUE(needsFirstRunReset(settings));
    for (const auto& [content, reset] :
         std::initializer_list<std::pair<QByteArray, bool>>{{"1\r\n", false},
                                                            {"\"1\"\r\n", false},
                                                            {"7\r\n", false},
                                                            {"0\r\n", true},
                                                            {"\"\"\r\n", true},
                                                            {"\"yes\"\r\n", true},
                                                            {"", true}}) {
        dir.write("ResetSystem.txt", content);
        EXPECT_EQ(needsFirstRunReset(settings), reset) << content.toStdString();
    }
    // There but unreadable says nothing: a reset would empty the default table
    // at every start for as long as it stays so.
    QFile::remove(dir.file("ResetSystem.txt"));
    QDir(dir.path()).mkdir("ResetSystem.txt");
    EXPECT_FALSE(needsFirstRunReset(settings));
}

TEST(FirstRun, WritesEveryFileByteForByteAndKeepsTheUnitName) {
    TempFolder dir;
    dir.write("User.txt", q(QStringLiteral("第一中学")));
    Settings settings(dir.path());
    int stopped = 0;
    RunFirstRunReset(settings, [&] { ++stopped; });
    EXPECT_EQ(stopped, 1);

    const QString on60 = QStringLiteral("开60");
    const std::pair<QString, QByteArray> expected[] = {
        {"show.txt", q("show")},
        {"Shut.txt", q(on60)},
        {"Restart.txt", q(on60)},
        {"Logoff.txt", q(on60)},
        {"PlayOrder.txt", q("1")},
        {"DayTimeTable/Default.DTT", "\"\"\r\n"},
        {"PlayListFile/Default.PLF", "\"\"\r\n"},
        {"PlayListFile/Default.PLFR", "0\r\n"},
        {"PlayListFile/TEMPFRONT.PLF", "\"\"\r\n"},
        {"PlayListFile/TEMPFRONT.PLFR", "0\r\n"},
        {"PlayListFile/TEMPBACK.PLF", "\"\"\r\n"},
        {"PlayListFile/TEMPBACK.PLFR", "0\r\n"},
        {"ResetSystem.txt", "1\r\n"},
        {"DefaultDTT.txt", q("Reset_System_OK")},
        {"DefaultPLF.txt", q("Reset_System_OK")},
        {"UserWav.txt", q(dir.path() + "/timeup.mp3")},
        {"Radio.txt", "1\r\n"},
        {"skin.txt", q(dir.path() + "/skin/B-Studio.skn")},
        {"User.txt", q(QStringLiteral("第一中学"))},
    };
    for (const auto& [name, bytes] : expected)
        EXPECT_EQ(dir.bytes(name), bytes) << name.toStdString();
    EXPECT_FALSE(needsFirstRunReset(settings));
}
