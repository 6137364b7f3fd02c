#include "table/InstructionComposer.h"
#include "table/ActionOptions.h"

#include <gtest/gtest.h>

using namespace campanor;

namespace {

ComposerInput at(const char* h, const char* m, const char* s, const char* option = "Option1") {
    ComposerInput in;
    in.hour = QLatin1String(h);
    in.minute = QLatin1String(m);
    in.second = QLatin1String(s);
    in.action = findActionOption(QLatin1String(option));
    in.parameter = QStringLiteral("/srv/bell.wav");
    return in;
}

QString refusal(const ComposerInput& in, int count = 0) {
    const Composed composed = composeInstruction(in, count);
    return composed.refusal ? composed.refusal->text : QString();
}

QString line(const ComposerInput& in) {
    const Composed composed = composeInstruction(in, 0);
    EXPECT_FALSE(composed.refusal) << composed.refusal->text.toStdString();
    return composed.realString;
}

} // namespace

TEST(InstructionComposer, TheTimeComesFirstThenTheCapacityThenTheComment) {
    ComposerInput in = at("08", "00", "");
    in.comment = QStringLiteral("a|b");
    EXPECT_EQ(refusal(in, 300), QStringLiteral("你没有选择要定义的时间!"));
    in.second = QStringLiteral("00");
    EXPECT_EQ(refusal(in, 300), kCapacityMessage);
    EXPECT_EQ(refusal(in, 299), QStringLiteral("注释中不能包含[|]这个字符！"));
    EXPECT_EQ(composeInstruction(in, 299).refusal->icon, Prompter::Icon::None);
}

TEST(InstructionComposer, CommentCharactersAreRefusedInTheirOrder) {
    ComposerInput in = at("08", "00", "00");
    in.comment = QStringLiteral("x>y*z");
    EXPECT_EQ(refusal(in), QStringLiteral("注释中不能包含[*]这个字符！"));
    in.comment = QStringLiteral("a<b");
    EXPECT_EQ(refusal(in), QStringLiteral("注释中不能包含[<]这个字符！"));
    in.comment = QStringLiteral("say \"hi\"");
    EXPECT_EQ(refusal(in), QStringLiteral("注释中不能包含[\"]这个字符！"));
    in.comment = QStringLiteral("没有注释");
    EXPECT_EQ(line(in), QStringLiteral("|08:00:00*没有注释>每天</srv/bell.wav"));
    in.comment.clear();
    EXPECT_EQ(line(in), QStringLiteral("|08:00:00*没有注释>每天</srv/bell.wav"));
}

TEST(InstructionComposer, DayRulesAndTheirMessages) {
    ComposerInput in = at("07", "30", "05");
    in.rule = DayRuleKind::Weekday;
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择星期几!"));
    in.weekday = QStringLiteral("日");
    EXPECT_TRUE(line(in).contains(QStringLiteral(">星期日<")));

    in.rule = DayRuleKind::DayOfMonth;
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择日子!"));
    in.monthDay = QStringLiteral("15");
    EXPECT_TRUE(line(in).contains(QStringLiteral(">每月15日<")));

    in.rule = DayRuleKind::DayOfYear;
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择月份!"));
    in.month = QStringLiteral("2");
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择日子!"));
    in.day = QStringLiteral("31");
    EXPECT_TRUE(line(in).contains(QStringLiteral(">每年2月31日<")))
        << "not tested against the month";

    in.rule = DayRuleKind::Date;
    Composed c = composeInstruction(in, 0);
    EXPECT_EQ(c.refusal->text, QStringLiteral("没有输入年份!"));
    EXPECT_TRUE(c.refusal->focusYear);
    EXPECT_FALSE(c.refusal->resetYear);
    in.year = QStringLiteral("26");
    c = composeInstruction(in, 0);
    EXPECT_EQ(c.refusal->text, QStringLiteral("年份要为四位数,如2003"));
    EXPECT_TRUE(c.refusal->resetYear);
    in.year = QStringLiteral("20|6");
    EXPECT_EQ(refusal(in), QStringLiteral("周期中不能包含[|]这个字符！"));
    in.year = QStringLiteral("2026");
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择月份!"));
    in.dateMonth = QStringLiteral("5");
    EXPECT_EQ(refusal(in), QStringLiteral("没有选择日子!"));
    in.dateDay = QStringLiteral("1");
    EXPECT_EQ(line(in), QStringLiteral("|07:30:05*没有注释>2026年5月1日</srv/bell.wav"));
}

TEST(InstructionComposer, AYearThatIsNotFourAsciiDigitsIsRefusedWithTheYearsMessage) {
    ComposerInput in = at("07", "30", "05");
    in.rule = DayRuleKind::Date;
    in.dateMonth = QStringLiteral("2");
    in.dateDay = QStringLiteral("31");
    // Full-width digits from a Chinese input method, Arabic-Indic digits,
    // letters: none of them is ever the year of a date the scheduler sees.
    for (const char* year : {"２０２５", "٢٠٢٥", "abcd", "20 5"}) {
        in.year = QString::fromUtf8(year);
        const Composed c = composeInstruction(in, 0);
        ASSERT_TRUE(c.refusal) << year;
        EXPECT_EQ(c.refusal->text, QStringLiteral("年份要为四位数,如2003")) << year;
        EXPECT_TRUE(c.refusal->resetYear) << year;
    }
    in.year = QStringLiteral("2025");
    EXPECT_EQ(line(in), QStringLiteral("|07:30:05*没有注释>2025年2月31日</srv/bell.wav"));
}

TEST(InstructionComposer, ActionFieldsAndMissingParameters) {
    struct Case {
        const char* option;
        const char* box;
        const char* parameter;
        QString field;
    };
    const Case cases[] = {
        {"Option2", "", "/srv/ding.mp3", QStringLiteral("/srv/ding.mp3")},
        {"Option14", "x", "/p/M.PLF", QStringLiteral("播音开-静态/p/M.PLF")},
        {"Option35", "", "/p/M.PLF", QStringLiteral("播音开-记忆静态播放/p/M.PLF")},
        {"Option10", "/music", "/music", QStringLiteral("搜索文件夹-前置随机/music")},
        {"Option17", "", "", QStringLiteral("关机")},
        {"Option22", "", "", QStringLiteral("重启")},
        {"Option23", "", "", QStringLiteral("注销")},
        {"Option21", "x", "'/opt/my tool' --quiet",
         QStringLiteral("执行程序'/opt/my tool' --quiet")},
        {"Option27", "x", "/t/A.DTT", QStringLiteral("打开表/t/A.DTT")},
    };
    for (const Case& c : cases) {
        ComposerInput in = at("01", "02", "03", c.option);
        in.parameterBox = QLatin1String(c.box);
        in.parameter = c.parameter;
        EXPECT_EQ(line(in), QStringLiteral("|01:02:03*没有注释>每天<") + c.field) << c.option;
    }

    const std::pair<const char*, QString> missing[] = {
        {"Option14", QStringLiteral("你没有选取要播音的播表文件")},
        {"Option29", QStringLiteral("你没有选取要播音的播表文件")},
        {"Option21", QStringLiteral("你没有选择要执行的文件名！")},
        {"Option27", QStringLiteral("你没有选择要调入的全天时间安排表！")},
        {"Option37", QStringLiteral("请先选择要搜索的文件夹！")},
        {"Option10", QStringLiteral("请先选择要搜索的文件夹！")},
    };
    for (const auto& [option, message] : missing) {
        ComposerInput in = at("01", "02", "03", option);
        in.rule = DayRuleKind::Weekday; // the day rule is checked first
        EXPECT_EQ(refusal(in), QStringLiteral("没有选择星期几!"));
        in.weekday = QStringLiteral("一");
        EXPECT_EQ(refusal(in), message) << option;
    }
}

TEST(InstructionComposer, APathTheTableCannotHoldIsRefused) {
    EXPECT_FALSE(checkChosenPath(QStringLiteral("/a/b*<c>.wav")));
    EXPECT_TRUE(checkChosenPath(QStringLiteral("/a/b|c.wav")));
    EXPECT_TRUE(checkChosenPath(QStringLiteral("/a/\"b\".wav")));
    // The default ring comes from the ring menu: refused when the line is built.
    ComposerInput in = at("01", "02", "03");
    in.parameter = QStringLiteral("/a/b|c.wav");
    EXPECT_TRUE(refusal(in).contains(QStringLiteral("[|]")));
}

TEST(InstructionComposer, DuplicatesAreSameTimeAndSameRuleText) {
    const QStringList loaded{QStringLiteral("08:00:00*x>每天<a.wav"),
                             QStringLiteral("09:00:00*没有注释>星期一<关机")};
    EXPECT_TRUE(isDuplicate(QStringLiteral("08:00:00*other>每天<b.wav"), loaded));
    EXPECT_FALSE(isDuplicate(QStringLiteral("08:00:00*x>星期一<a.wav"), loaded));
    EXPECT_FALSE(isDuplicate(QStringLiteral("08:00:01*x>每天<a.wav"), loaded));
    EXPECT_TRUE(isDuplicate(QStringLiteral("09:00:00*y>星期一<注销"), loaded));
}

TEST(InstructionComposer, AProgramPathStaysOneWordOfTheCommandLine) {
    EXPECT_EQ(programCommandLine(QStringLiteral("/usr/bin/aplay")), "/usr/bin/aplay");
    EXPECT_EQ(programCommandLine(QStringLiteral("/opt/my tool")), "'/opt/my tool'");
    EXPECT_EQ(programCommandLine(QStringLiteral("/opt/it's")), "'/opt/it'\\''s'");
}
