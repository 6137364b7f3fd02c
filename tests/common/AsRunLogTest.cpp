#include "common/AsRunLog.h"
#include "fixtures/TempFolder.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

namespace {

struct OpenLog {
    TempFolder home;
    OpenLog() { AsRunLog::open(home.path()); }
    ~OpenLog() { AsRunLog::close(); }
    QStringList todaysLines() const {
        QFile f(AsRunLog::fileFor(QDate::currentDate()));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace

TEST(AsRunLog, AppendsWholeUtf8LinesToTheDayFile) {
    OpenLog log;
    AsRunLog::write(QStringLiteral("程序启动"));
    AsRunLog::instruction(QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0)),
                          QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0, 12)),
                          QStringLiteral("08:00:00*上课>每天<打铃"), QStringLiteral("完成"));
    reportProblem(QStringLiteral("two\nlines"));

    EXPECT_EQ(AsRunLog::fileFor(QDate(2026, 12, 7)),
              log.home.file(QStringLiteral("Log/2026-12-07.log")));
    const QStringList lines = log.todaysLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" 程序启动")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("指令 2026-12-07 08:00:00 开始 08:00:00.012 完成："
                                                 "08:00:00*上课>每天<打铃")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" two lines")));
}

TEST(AsRunLog, KeepsNinetyDaysAndLeavesOtherFilesAlone) {
    TempFolder home;
    const QDate today = QDate::currentDate();
    const auto name = [](const QDate& d) { return "Log/" + d.toString(Qt::ISODate) + ".log"; };
    home.write(name(today.addDays(-90)), "kept\n");
    home.write(name(today.addDays(-91)), "old\n");
    home.write(QStringLiteral("Log/notes.log"), "mine\n");
    AsRunLog::open(home.path());
    AsRunLog::close();
    EXPECT_TRUE(home.exists(name(today.addDays(-90))));
    EXPECT_FALSE(home.exists(name(today.addDays(-91))));
    EXPECT_TRUE(home.exists(QStringLiteral("Log/notes.log")));
}

TEST(AsRunLog, AnUnwritableLogNeverStopsTheCaller) {
    TempFolder home;
    home.write(QStringLiteral("Log"), "a file where the folder should be");
    AsRunLog::open(home.path());
    AsRunLog::write(QStringLiteral("goes nowhere"));
    reportProblem(QStringLiteral("still said on standard error"));
    AsRunLog::close();
    EXPECT_EQ(home.bytes(QStringLiteral("Log")), "a file where the folder should be");
    // Closed: lines go nowhere and nothing is created.
    AsRunLog::write(QStringLiteral("after close"));
}
