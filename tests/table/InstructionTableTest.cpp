#include "table/InstructionTable.h"
#include "fixtures/TempFolder.h"

#include <QTime>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

TEST(InstructionTable, LoadsSortedLinesAndKeepsFileOrderInTheText) {
    TempFolder dir;
    const QString text =
        QStringLiteral("|08:00:00*没有注释>每天<b.mp3|07:00:00*没有注释>每天<a.mp3");
    dir.write("t.DTT", TempFolder::quoted(text));
    InstructionTable table;
    EXPECT_EQ(table.load(dir.file("t.DTT")), ReadStatus::Ok);
    EXPECT_EQ(table.tableText(), text);
    EXPECT_EQ(table.count(), 2);
    EXPECT_TRUE(table.lines().first().startsWith("07:00:00"));
}

TEST(InstructionTable, EmptyAndMissingFiles) {
    TempFolder dir;
    dir.write("e.DTT", "\"\"\r\n");
    InstructionTable table;
    EXPECT_EQ(table.load(dir.file("e.DTT")), ReadStatus::Ok);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.load(dir.file("none.DTT")), ReadStatus::Missing);
    EXPECT_EQ(table.count(), 0);
}

TEST(InstructionTable, CommitWritesTheWholeTextPlusTheNewLine) {
    TempFolder dir;
    const QString path = dir.file("t.DTT");
    InstructionTable table;
    table.load(path);
    const QString line = QStringLiteral("|09:00:00*没有注释>每年3月8日<麦克风开");
    ASSERT_TRUE(table.commit(path, line));
    EXPECT_EQ(dir.bytes("t.DTT"), TempFolder::quoted(line));
    EXPECT_EQ(table.count(), 1);
}

TEST(InstructionTable, LinesPastThe300thSurviveAWrite) {
    TempFolder dir;
    const QString path = dir.file("big.DTT");
    QString text;
    for (int i = 0; i < 310; ++i)
        text += QStringLiteral("|%1:00:00*n%2>每天<a.mp3").arg(i % 24, 2, 10, QChar('0')).arg(i);
    dir.write("big.DTT", TempFolder::quoted(text));
    InstructionTable table;
    table.load(path);
    EXPECT_EQ(table.count(), 300);
    ASSERT_TRUE(table.commit(path, QStringLiteral("|23:59:59*new>每天<b.mp3")));
    EXPECT_TRUE(readRecord(path).startsWith(text));
    EXPECT_TRUE(readRecord(path).endsWith("new>" + QStringLiteral("每天<b.mp3")));
}

TEST(InstructionTable, AQuotationMarkIsNeverWritten) {
    TempFolder dir;
    const QString path = dir.file("t.DTT");
    dir.write("t.DTT", TempFolder::quoted(QStringLiteral("|07:00:00*ok>每天<a.mp3")));
    InstructionTable table;
    table.load(path);
    EXPECT_FALSE(table.commit(path, QStringLiteral("|08:00:00*say \"hi\">每天<a.mp3")));
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(dir.bytes("t.DTT"), TempFolder::quoted(QStringLiteral("|07:00:00*ok>每天<a.mp3")));
}

TEST(InstructionTable, MarkFailedPrefixesTheCommentOnce) {
    TempFolder dir;
    const QString path = dir.file("t.DTT");
    const QString failed = QStringLiteral("07:00:00*没有注释>每天<搜索文件夹-后置排序/gone");
    const QString other = QStringLiteral("08:00:00*早操>每天<a.mp3");
    dir.write("t.DTT", TempFolder::quoted("|" + failed + "|" + other));
    InstructionTable table;
    table.load(path);

    ASSERT_TRUE(table.markFailed(path, failed));
    EXPECT_EQ(readRecord(path),
              "|" + other + QStringLiteral("|07:00:00*Error!>每天<搜索文件夹-后置排序/gone"));
    ASSERT_TRUE(table.markFailed(path, other));
    EXPECT_TRUE(readRecord(path).endsWith(QStringLiteral("|08:00:00*Error!早操>每天<a.mp3")));
    // Already marked: the line stays as it is.
    const QString marked = QStringLiteral("08:00:00*Error!早操>每天<a.mp3");
    EXPECT_FALSE(table.markFailed(path, marked));
    EXPECT_EQ(table.count(), 2);
}

TEST(InstructionTable, ATableOverThreeHundredLinesKeepsAllOfThemThroughAnEdit) {
    TempFolder dir;
    const QString path = dir.file("big.DTT");
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("|%1*第%2条>每天<线路打开")
                    .arg(QTime(6, 0).addSecs(i).toString("HH:mm:ss"))
                    .arg(i);
    dir.write("big.DTT", TempFolder::quoted(text));
    InstructionTable table;
    ASSERT_EQ(table.load(path), ReadStatus::Ok);
    EXPECT_EQ(table.count(), 300);
    const QString line = QStringLiteral("|23:00:00*没有注释>每天<线路关闭");
    ASSERT_TRUE(table.commit(path, line));
    EXPECT_EQ(dir.bytes("big.DTT"), TempFolder::quoted(text + line));
}

TEST(InstructionTable, AFileThatCouldNotBeReadWholeIsNeverWritten) {
    TempFolder dir;
    const QByteArray notGb18030 = "\"|07:00:00*\x81\x20>每天<a.mp3\"\r\n";
    dir.write("bad.DTT", notGb18030);
    QDir(dir.path()).mkdir("folder.DTT");
    const QString line = QStringLiteral("|08:00:00*没有注释>每天<b.mp3");
    InstructionTable table;
    EXPECT_EQ(table.load(dir.file("bad.DTT")), ReadStatus::Ok);
    EXPECT_EQ(table.count(), 1);
    EXPECT_FALSE(table.writable());
    EXPECT_FALSE(table.commit(dir.file("bad.DTT"), line));
    EXPECT_EQ(dir.bytes("bad.DTT"), notGb18030);

    EXPECT_EQ(table.load(dir.file("folder.DTT")), ReadStatus::Unreadable);
    EXPECT_FALSE(table.commit(dir.file("folder.DTT"), line));

    // Loading another file ends the refusal; a missing file may be created.
    EXPECT_EQ(table.load(dir.file("new.DTT")), ReadStatus::Missing);
    EXPECT_TRUE(table.commit(dir.file("new.DTT"), line));
    EXPECT_EQ(table.count(), 1);
}
