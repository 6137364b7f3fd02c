#include "table/TableText.h"
#include "table/InstructionLine.h"

#include <gtest/gtest.h>

using namespace campanor;

TEST(InstructionLine, SplitsAtTheFirstDelimiters) {
    const auto i = Instruction::parse(QStringLiteral("06:50:00*起床铃>每天<D:/Sounds/bell.wav"));
    ASSERT_TRUE(i);
    EXPECT_EQ(i->time, "06:50:00");
    EXPECT_EQ(i->comment, QStringLiteral("起床铃"));
    EXPECT_EQ(i->dayRule, QStringLiteral("每天"));
    EXPECT_EQ(i->action, "D:/Sounds/bell.wav");

    // Later delimiters belong to the action field.
    const auto odd = Instruction::parse(QStringLiteral("08:00:00*x>每天<a<b>c*d"));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->action, "a<b>c*d");
}

TEST(InstructionLine, MissingOrMisorderedDelimitersAreMalformed) {
    EXPECT_FALSE(Instruction::parse("08:00:00 no delimiters"));
    EXPECT_FALSE(Instruction::parse(QStringLiteral("08:00:00*x每天<a")));
    EXPECT_FALSE(Instruction::parse(QStringLiteral("08:00:00*x>每天")));
    EXPECT_FALSE(Instruction::parse(QStringLiteral("08:00:00>x*每天<a")));
}

TEST(InstructionLine, NoCommentRoundTrip) {
    const QString line = QStringLiteral("12:00:00*没有注释>每月15日<线路打开");
    const auto i = Instruction::parse(line);
    ASSERT_TRUE(i);
    EXPECT_TRUE(i->shownComment().isEmpty());
    Instruction rebuilt = *i;
    rebuilt.comment = i->shownComment();
    EXPECT_EQ(rebuilt.line(), line);
}

TEST(TableText, SplitsAfterEachSeparatorAndDropsLeadingText) {
    EXPECT_TRUE(splitTableText("").isEmpty());
    EXPECT_EQ(splitTableText("junk|A|B"), (QStringList{"A", "B"}));
    EXPECT_EQ(splitTableText("|A||B"), (QStringList{"A", "", "B"}));
}

TEST(TableText, KeepsOnlyTheFirst300Lines) {
    QString text;
    for (int i = 0; i < 305; ++i)
        text += QStringLiteral("|line%1").arg(i);
    const QStringList lines = splitTableText(text);
    ASSERT_EQ(lines.size(), 300);
    EXPECT_EQ(lines.last(), "line299");
}

TEST(TableText, SortsByRuleKindThenTimeAndIsStable) {
    QStringList lines = {
        QStringLiteral("08:00:00*a>每月1日<x"),      QStringLiteral("07:00:00*b>星期五<x"),
        QStringLiteral("06:00:00*c>每天<x"),         QStringLiteral("05:00:00*d>2006年1月1日<x"),
        QStringLiteral("09:00:00*e>星期三<x"),       QStringLiteral("08:00:00*f>星期一<x"),
        QStringLiteral("08:00:00*g>星期三<x"),       QStringLiteral("10:00:00*h>每年3月8日<x"),
        QStringLiteral("23:59:59*i>1999年1月1日<x"), QStringLiteral("9:00:00*j>每天<x"),
    };
    sortInstructionLines(lines);
    QString order;
    for (const QString& line : lines)
        order += Instruction::parse(line)->comment;
    // Dated, weekday (stable at equal times), every day, every year, every month;
    // the hour is taken as a number ("9:" sorts after "06").
    EXPECT_EQ(order, "idbfgecjha");
}

TEST(TableText, RemovesEveryWholeOccurrenceOnly) {
    const QString a = QStringLiteral("08:00:00*没有注释>每天<a.mp3");
    const QString longer = a + "x";
    const QString text = "lead|" + a + "|" + longer + "|" + a;
    EXPECT_EQ(removeInstruction(text, a), "lead|" + longer);
    EXPECT_EQ(removeInstruction(text, "nothing"), text);
}
