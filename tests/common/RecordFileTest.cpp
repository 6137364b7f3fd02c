#include "common/RecordFile.h"
#include "fixtures/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace campanor;
using campanor::test::TempFolder;

TEST(RecordFile, WritesQuotedTextAndBareNumbersWithCrLfInGb18030) {
    TempFolder dir;
    ASSERT_TRUE(writeTextRecord(dir.file("show.txt"), "show"));
    EXPECT_EQ(dir.bytes("show.txt"), QByteArray("\"show\"\r\n"));
    ASSERT_TRUE(writeTextRecord(dir.file("Shut.txt"), QStringLiteral("开60")));
    EXPECT_EQ(dir.bytes("Shut.txt"), QByteArray("\"\xbf\xaa"
                                                "60\"\r\n"));
    ASSERT_TRUE(writeNumberRecord(dir.file("n.txt"), 1));
    EXPECT_EQ(dir.bytes("n.txt"), QByteArray("1\r\n"));
    ASSERT_TRUE(writeTextRecord(dir.file("e.txt"), QString()));
    EXPECT_EQ(dir.bytes("e.txt"), QByteArray("\"\"\r\n"));
}

TEST(RecordFile, RoundTripsChineseAndCharactersOutsideTheOldCodePage) {
    TempFolder dir;
    const QString text = QStringLiteral("第一中学 ü 😀");
    ASSERT_TRUE(writeTextRecord(dir.file("User.txt"), text));
    EXPECT_EQ(readRecord(dir.file("User.txt")), text);
}

TEST(RecordFile, ParsesQuotedBareAndOddRecords) {
    EXPECT_EQ(parseRecord("  \"hide\"\r\n"), "hide");
    EXPECT_EQ(parseRecord("\"a,b\"\r\n"), "a,b");
    EXPECT_EQ(parseRecord("1\r\n"), "1");
    EXPECT_EQ(parseRecord("12 , 7\n"), "12");
    EXPECT_EQ(parseRecord("42   \n"), "42");
    EXPECT_EQ(parseRecord("\"unterminated\nnext"), "unterminated");
    EXPECT_EQ(parseRecord("\"first\"\r\n\"second\"\r\n"), "first");
    EXPECT_EQ(parseRecord(""), "");
}

TEST(RecordFile, MissingEmptyAndUnreadableFilesReadEmptyWithTheirStatus) {
    TempFolder dir;
    EXPECT_EQ(readRecordFile(dir.file("none.txt")).status, ReadStatus::Missing);
    dir.write("empty.txt", "");
    const RecordRead empty = readRecordFile(dir.file("empty.txt"));
    EXPECT_EQ(empty.status, ReadStatus::Ok);
    EXPECT_TRUE(empty.value.isEmpty());
    // A folder where a file is expected cannot be read.
    QDir(dir.path()).mkdir("folder.txt");
    const RecordRead folder = readRecordFile(dir.file("folder.txt"));
    EXPECT_EQ(folder.status, ReadStatus::Unreadable);
    EXPECT_TRUE(folder.value.isEmpty());
}

TEST(RecordFile, AcceptsBareLineFeeds) {
    TempFolder dir;
    dir.write("lf.txt", "\"hide\"\n");
    EXPECT_EQ(readRecord(dir.file("lf.txt")), "hide");
}

TEST(RecordFile, ReplacesAtomicallyAndLeavesNoTemporaryFiles) {
    TempFolder dir;
    ASSERT_TRUE(writeTextRecord(dir.file("a.txt"), "old"));
    ASSERT_TRUE(writeTextRecord(dir.file("a.txt"), "new"));
    EXPECT_EQ(readRecord(dir.file("a.txt")), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

TEST(RecordFile, AFailedWriteLeavesTheOldFileWhole) {
    TempFolder dir;
    EXPECT_FALSE(writeTextRecord(dir.file("missing/folder/x.txt"), "x"));
    EXPECT_FALSE(QFile::exists(dir.file("missing")));

    // A folder standing where the file should be: the rename fails, the folder stays.
    QDir(dir.path()).mkdir("taken.txt");
    EXPECT_FALSE(writeTextRecord(dir.file("taken.txt"), "new"));
    EXPECT_TRUE(QFileInfo(dir.file("taken.txt")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});

    ASSERT_TRUE(writeTextRecord(dir.file("keep.txt"), "old"));
    if (geteuid() == 0)
        return; // root writes into read-only folders
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(writeTextRecord(dir.file("keep.txt"), "new"));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readRecord(dir.file("keep.txt")), "old");
}

TEST(RecordFile, SaysWhatWasOddAboutAFileItRead) {
    TempFolder dir;
    dir.write("good.txt", TempFolder::quoted(QStringLiteral("开60")));
    const RecordRead good = readRecordFile(dir.file("good.txt"));
    EXPECT_TRUE(good.problem.isEmpty());
    EXPECT_FALSE(good.lossy);

    // Bytes that are not GB18030: what can be read is used, but the file is marked
    // so that no writer replaces the bytes it could not read.
    dir.write("bad.txt", "\"ab\x81\x20\xff\"\r\n");
    const RecordRead bad = readRecordFile(dir.file("bad.txt"));
    EXPECT_EQ(bad.status, ReadStatus::Ok);
    EXPECT_TRUE(bad.lossy);
    EXPECT_TRUE(bad.value.startsWith("ab"));
    EXPECT_FALSE(bad.problem.isEmpty());

    dir.write("open.txt", "\"/srv/table.DTT\r\n");
    const RecordRead open = readRecordFile(dir.file("open.txt"));
    EXPECT_EQ(open.value, "/srv/table.DTT");
    EXPECT_FALSE(open.lossy);
    EXPECT_FALSE(open.problem.isEmpty());
    dir.write("bare.txt", "5000\r\n");
    EXPECT_TRUE(readRecordFile(dir.file("bare.txt")).problem.isEmpty());
}

TEST(RecordFile, ARecordOverTheLimitIsRefused) {
    TempFolder dir;
    dir.write("long.txt", "\"" + QByteArray(5000, 'x') + "\"\r\n");
    EXPECT_EQ(readRecordFile(dir.file("long.txt")).value.size(), 5000);
    const RecordRead refused = readRecordFile(dir.file("long.txt"), 4096);
    EXPECT_EQ(refused.status, ReadStatus::Unreadable);
    EXPECT_TRUE(refused.value.isEmpty());
    EXPECT_FALSE(refused.problem.isEmpty());
}
