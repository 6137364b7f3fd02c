#include "app/FormallFixture.h"
#include "app/Settings.h"
#include "common/AsRunLog.h"
#include "fixtures/TempFolder.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

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

TEST(FirstRun, AMarkerThatIsThereButGarbledResetsNothing) {
    TempFolder dir;
    AsRunLog::open(dir.path());
    Settings settings(dir.path());
    // "1" saved by editors that put a byte-order mark in front, a marker cut
    // short by a crash, bytes that are no text at all.
    for (const QByteArray& content :
         {QByteArray("\xEF\xBB\xBF"
                     "1\r\n"),
          QByteArray("\xEF\xBB\xBF"
                     "1"),
          QByteArray("\xEF\xBB\xBF"
                     "0\r\n"),
          QByteArray("\xFF\xFE"
                     "1\0\r\0\n\0",
                     8),
          QByteArray("1\0\0\0", 4), QByteArray("\x81\x30\xFF\xFF\r\n")}) {
        dir.write("ResetSystem.txt", content);
        EXPECT_FALSE(needsFirstRunReset(settings)) << content.toHex().toStdString();
    }
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll())
                    .contains(dir.file("ResetSystem.txt") +
                              " 以字节顺序标记（BOM）开头，不执行首次运行的重置"));
}

TEST_F(FormallTest, AFirstStartKeepsTheTableAndListsASitePutThere) {
    const QByteArray table =
        TempFolder::quoted(QStringLiteral("|08:00:00*上课>每天<") + dir.file("bell.mp3"));
    const QByteArray list = TempFolder::quoted("|" + dir.file("music/a.mp3"));
    dir.write("DayTimeTable/Default.DTT", table);
    dir.write("PlayListFile/Default.PLF", list);
    dir.write("PlayListFile/Default.PLFR", "42\r\n");
    dir.write("PlayListFile/TEMPBACK.PLF", "");
    dir.write("PlayListFile/TEMPBACK.PLFR", "9\r\n");
    dir.write("Shut.txt", q(QStringLiteral("关10")));
    auto w = start();

    EXPECT_EQ(dir.bytes("DayTimeTable/Default.DTT"), table);
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(dir.bytes("PlayListFile/Default.PLF"), list);
    EXPECT_EQ(dir.bytes("PlayListFile/Default.PLFR"), "42\r\n");
    // What held nothing is written as the reset always did, settings too.
    EXPECT_EQ(dir.bytes("PlayListFile/TEMPBACK.PLF"), "\"\"\r\n");
    EXPECT_EQ(dir.bytes("PlayListFile/TEMPBACK.PLFR"), "0\r\n");
    EXPECT_EQ(dir.bytes("PlayListFile/TEMPFRONT.PLF"), "\"\"\r\n");
    EXPECT_EQ(dir.bytes("Shut.txt"), q(QStringLiteral("开60")));
    EXPECT_EQ(dir.bytes("ResetSystem.txt"), "1\r\n");
}
