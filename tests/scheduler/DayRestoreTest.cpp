#include "scheduler/DayRestore.h"
#include "scheduler/Matching.h"

#include <QHash>
#include <gtest/gtest.h>

using namespace campanor;

namespace {

// A Monday.
const QDate kDay(2026, 12, 7);

DayRestore restoreOver(const QHash<QString, QStringList>& tables) {
    return DayRestore([tables](const QString& path) { return tables.value(path); },
                      [](const QString& rule) { return dayRuleApplies(rule, kDay); });
}

QString lineOf(const std::optional<DayRestore::Step>& step) {
    return step ? step->line : QString();
}

QTime at(const char* text) {
    return QTime::fromString(QLatin1String(text), "hh:mm:ss");
}

} // namespace

TEST(DayRestore, EachChannelHoldsWhatItsLastInstructionOfTheDaySet) {
    const QHash<QString, QStringList> tables = {
        {"/t/Default.DTT",
         {
             "07:30:00*早操>每天<播音开-静态/p/Morning.PLF", "07:00:00*x>每天<线路打开",
             "07:00:00*同一秒>每天<线路关闭", // the second line of a second is passed over
             "07:10:00*x>星期二<麦克风开",    // another day
             "07:20:00*x>2026年12月7日<麦克风开", "07:40:00*x>每天</bells/ring.mp3",
             "08:00:00*x>每天<后置关", "09:00:00*x>每天<播音开-记忆静态播放/p/Memory.PLF",
             "10:00:00*x>每天<搜索文件夹-后置随机/music", "10:30:00*x>每天<前置播音/p/News.PLF",
             "11:00:00*x>每天<麦克风关", "12:00:00*考试>每天<打开表/t/Exam.DTT",
             "12:30:00*x>每天<线路关闭", // in the table closed at 12:00
         }},
        {"/t/Exam.DTT",
         {
             "12:00:00*x>每天<线路关闭", // the table's own 12:00 is not run: it opened then
             "12:20:00*x>每天<播音开-动态/p/Exam.PLF",
             "13:00:00*x>每天<打开表/t/Default.DTT",
         }},
    };
    const DayRestore restore = restoreOver(tables);
    using State = DayRestore::State;

    State s = restore.stateAt("/t/Default.DTT", at("06:59:59"));
    EXPECT_EQ(s.table, "/t/Default.DTT");
    EXPECT_FALSE(s.back || s.lineIn || s.microphone);
    EXPECT_TRUE(s.steps.isEmpty());

    s = restore.stateAt("/t/Default.DTT", at("07:45:00"));
    EXPECT_EQ(lineOf(s.lineIn), "07:00:00*x>每天<线路打开");
    EXPECT_EQ(lineOf(s.microphone), "07:20:00*x>2026年12月7日<麦克风开");
    EXPECT_EQ(lineOf(s.back), "07:30:00*早操>每天<播音开-静态/p/Morning.PLF");
    EXPECT_EQ(s.back->second, at("07:30:00"));
    EXPECT_EQ(s.back->action.parameter, "/p/Morning.PLF");
    ASSERT_EQ(s.steps.size(), 4) << "the ring is listed, the passed-over line is not";
    EXPECT_EQ(s.steps[3].action.kind, ActionKind::Ring);

    // Closed, then started again later, from memory and from a folder; the
    // front player is a moment and leaves the back alone.
    EXPECT_FALSE(restore.stateAt("/t/Default.DTT", at("08:59:59")).back);
    EXPECT_EQ(lineOf(restore.stateAt("/t/Default.DTT", at("09:00:00")).back),
              "09:00:00*x>每天<播音开-记忆静态播放/p/Memory.PLF");
    s = restore.stateAt("/t/Default.DTT", at("11:00:00"));
    EXPECT_EQ(s.back->action.kind, ActionKind::SearchBackRandom);
    EXPECT_EQ(lineOf(s.microphone), "11:00:00*x>每天<麦克风关");

    // A chain of tables: each line from the table in effect at its second.
    s = restore.stateAt("/t/Default.DTT", at("12:45:00"));
    EXPECT_EQ(s.table, "/t/Exam.DTT");
    EXPECT_EQ(lineOf(s.lineIn), "07:00:00*x>每天<线路打开");
    EXPECT_EQ(lineOf(s.back), "12:20:00*x>每天<播音开-动态/p/Exam.PLF");
    EXPECT_EQ(s.back->table, "/t/Exam.DTT");
    s = restore.stateAt("/t/Default.DTT", at("23:59:59"));
    EXPECT_EQ(s.table, "/t/Default.DTT");
    EXPECT_EQ(s.steps.last().line, "13:00:00*x>每天<打开表/t/Default.DTT")
        << "back on the default table after 13:00, its 12:30 line lies before";
    EXPECT_EQ(lineOf(s.lineIn), "07:00:00*x>每天<线路打开");
}

TEST(DayRestore, AStaticListStandsWhereItsTracksLengthsPutIt) {
    using Loop = ListPosition::Loop;
    const QList<double> lengths = {30, 0, 20}; // the second one's length is unknown

    ListPosition p = ListPosition::after(lengths, 40, Loop::ToEnd);
    EXPECT_EQ(p.track, 2);
    EXPECT_DOUBLE_EQ(p.seconds, 10);
    EXPECT_FALSE(p.ended);
    EXPECT_TRUE(ListPosition::after(lengths, 50, Loop::ToEnd).ended);

    p = ListPosition::after(lengths, 125, Loop::WholeList); // 125 = 2 x 50 + 25
    EXPECT_EQ(p.track, 0);
    EXPECT_DOUBLE_EQ(p.seconds, 25);
    EXPECT_FALSE(p.ended);

    p = ListPosition::after(lengths, 95, Loop::OneTrack);
    EXPECT_EQ(p.track, 0);
    EXPECT_DOUBLE_EQ(p.seconds, 5);
    EXPECT_FALSE(p.ended);

    EXPECT_TRUE(ListPosition::after({}, 5, Loop::ToEnd).ended);
    EXPECT_FALSE(ListPosition::after({}, 5, Loop::WholeList).ended);
}
