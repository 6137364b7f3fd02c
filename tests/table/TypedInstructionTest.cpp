#include "table/TypedInstruction.h"

#include <gtest/gtest.h>

using namespace campanor;

namespace {

QString refusal(const QString& time, const QString& rule = QStringLiteral("每天"),
                const QString& comment = {}, const QString& action = QStringLiteral("关机")) {
    const auto refused = checkTypedInstruction({time, rule, comment, action});
    return refused ? refused->text : QString();
}

} // namespace

TEST(TypedInstruction, TimeChecksInTheirOrder) {
    EXPECT_EQ(refusal(QString()), QStringLiteral("当前没有要插入的指令！"));
    EXPECT_EQ(refusal(QStringLiteral("08:00:00"), QString()),
              QStringLiteral("当前没有要插入的指令！"));
    EXPECT_EQ(refusal(QStringLiteral("8:00:00")),
              QStringLiteral("时间是00:00:00型的，要八位长度！"));
    EXPECT_EQ(refusal(QStringLiteral("24:00:00")), QStringLiteral("时间中小时应当在[0,23]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("12-00:00")), QStringLiteral("时间中小时后面应当是[:]符号！"));
    EXPECT_EQ(refusal(QStringLiteral("23:60:00")), QStringLiteral("时间中分钟应当在[0,59]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("23:59-00")), QStringLiteral("时间中分钟后面应当是[:]符号！"));
    EXPECT_EQ(refusal(QStringLiteral("23:59:60")), QStringLiteral("时间中秒应当在[0,59]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("23:59:59")), QString());
    EXPECT_EQ(checkTypedInstruction({"24:00:00", "每天", "", "x"})->icon, Prompter::Icon::Critical);
}

TEST(TypedInstruction, APartThatIsNotANumberGetsThatPartsMessage) {
    EXPECT_EQ(refusal(QStringLiteral("ab:00:00")), QStringLiteral("时间中小时应当在[0,23]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("-1:00:00")), QStringLiteral("时间中小时应当在[0,23]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("12: 5:00")), QStringLiteral("时间中分钟应当在[0,59]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("12:05:+1")), QStringLiteral("时间中秒应当在[0,59]之间！"));
    EXPECT_EQ(refusal(QStringLiteral("１２:00:00")), QStringLiteral("时间中小时应当在[0,23]之间！"))
        << "full-width digits are not a time the scheduler reads";
}

TEST(TypedInstruction, FieldsMayNotHoldDelimitersOrQuotationMarks) {
    const QString t = QStringLiteral("08:00:00");
    EXPECT_EQ(refusal(t, QStringLiteral("每天"), QStringLiteral("a|b")),
              QStringLiteral("注释中不能包含[|]这个字符！"));
    EXPECT_EQ(refusal(t, QStringLiteral("每天"), QStringLiteral("\"x\"")),
              QStringLiteral("注释中不能包含[\"]这个字符！"));
    EXPECT_EQ(refusal(t, QStringLiteral("每天>"), QString()),
              QStringLiteral("周期中不能包含[>]这个字符！"));
    EXPECT_EQ(refusal(t, QStringLiteral("每天"), QString(), QStringLiteral("/a|b.wav")),
              QStringLiteral("响应方式中不能包含[|]这个字符！"));
    EXPECT_EQ(refusal(t, QStringLiteral("每天"), QString(), QStringLiteral("/a<b.wav")),
              QStringLiteral("响应方式中不能包含[<]这个字符！"));
}

TEST(TypedInstruction, OnlyTheFiveDayRuleFormsPass) {
    for (const char* good : {"每天", "星期一", "星期日", "每月1日", "每月31日", "每年12月31日",
                             "每年2月31日", "2005年5月1日"})
        EXPECT_TRUE(isDayRuleForm(QString::fromUtf8(good))) << good;
    for (const char* bad :
         {"", "每周", "星期八", "星期", "每月0日", "每月32日", "每月05日", "每年13月1日", "每年1月",
          "205年5月1日", "2005年5月1", "每天 ", "2005年0月1日"})
        EXPECT_FALSE(isDayRuleForm(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(
        refusal(QStringLiteral("08:00:00"), QStringLiteral("周一")).startsWith("周期只能是"));
}

TEST(TypedInstruction, ADayRuleNumberIsTypedInAsciiDigits) {
    // An input method's full-width digits or another script's digits give a
    // rule the scheduler never matches.
    for (const char* bad :
         {"２０２５年5月1日", "٢٠٢٥年5月1日", "abcd年1月1日", "2025年５月1日", "2025年5月１日",
          "每月１５日", "每月١٥日", "每年１月1日", "每年1月３１日"})
        EXPECT_FALSE(isDayRuleForm(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(refusal(QStringLiteral("08:00:00"), QStringLiteral("２０２５年5月1日"))
                    .startsWith(QStringLiteral("周期只能是")));
    EXPECT_EQ(refusal(QStringLiteral("08:00:00"), QStringLiteral("2025年2月31日")), QString());
}

TEST(TypedInstruction, TheLineOfTheFourBoxes) {
    EXPECT_EQ((TypedInstruction{"06:50:00", "每天", "", "/s/bell.wav"}.realString()),
              QStringLiteral("|06:50:00*没有注释>每天</s/bell.wav"));
    EXPECT_EQ((TypedInstruction{"06:50:00", "星期一", "起床", "线路打开"}.realString()),
              QStringLiteral("|06:50:00*起床>星期一<线路打开"));
}
