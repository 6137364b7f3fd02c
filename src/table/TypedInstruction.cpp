#include "TypedInstruction.h"

#include "InstructionComposer.h"
#include "InstructionLine.h"

#include <QRegularExpression>

namespace campanor {

namespace {

Refusal error(const QString& text) {
    return {text, Prompter::Icon::Critical};
}

// A two-digit part of the time as a number; -1 when it is not one.
int timePart(const QString& time, int at) {
    const QChar a = time[at];
    const QChar b = time[at + 1];
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!digit(a) || !digit(b))
        return -1;
    return (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
}

bool inRange(const QString& number, int low, int high) {
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok && !number.startsWith(u'0') && !number.startsWith(u'+') && value >= low &&
           value <= high;
}

} // namespace

QString TypedInstruction::realString() const {
    return u'|' + time + u'*' + (comment.isEmpty() ? kNoComment : comment) + u'>' + dayRule + u'<' +
           action;
}

bool isDayRuleForm(const QString& rule) {
    // [0-9], not \d: the scheduler compares with the date's ASCII digits, and
    // an input method's full-width digits would never match.
    static const QRegularExpression weekday(QStringLiteral("^星期[一二三四五六日]$"));
    static const QRegularExpression monthly(QStringLiteral("^每月([0-9]+)日$"));
    static const QRegularExpression yearly(QStringLiteral("^每年([0-9]+)月([0-9]+)日$"));
    static const QRegularExpression dated(QStringLiteral("^[0-9]{4}年([0-9]+)月([0-9]+)日$"));
    if (rule == QStringLiteral("每天") || weekday.match(rule).hasMatch())
        return true;
    if (const auto m = monthly.match(rule); m.hasMatch())
        return inRange(m.captured(1), 1, 31);
    if (const auto m = yearly.match(rule); m.hasMatch())
        return inRange(m.captured(1), 1, 12) && inRange(m.captured(2), 1, 31);
    if (const auto m = dated.match(rule); m.hasMatch())
        return inRange(m.captured(1), 1, 12) && inRange(m.captured(2), 1, 31);
    return false;
}

std::optional<Refusal> checkTypedInstruction(const TypedInstruction& t) {
    if (t.dayRule.isEmpty() || t.time.isEmpty() || t.action.isEmpty())
        return error(QStringLiteral("当前没有要插入的指令！"));
    if (t.time.size() != 8)
        return error(QStringLiteral("时间是00:00:00型的，要八位长度！"));
    const int hour = timePart(t.time, 0);
    if (hour < 0 || hour > 23)
        return error(QStringLiteral("时间中小时应当在[0,23]之间！"));
    if (t.time[2] != u':')
        return error(QStringLiteral("时间中小时后面应当是[:]符号！"));
    const int minute = timePart(t.time, 3);
    if (minute < 0 || minute > 59)
        return error(QStringLiteral("时间中分钟应当在[0,59]之间！"));
    if (t.time[5] != u':')
        return error(QStringLiteral("时间中分钟后面应当是[:]符号！"));
    const int second = timePart(t.time, 6);
    if (second < 0 || second > 59)
        return error(QStringLiteral("时间中秒应当在[0,59]之间！"));

    const std::pair<QString, const QString*> fields[] = {
        {QStringLiteral("注释"), &t.comment},
        {QStringLiteral("周期"), &t.dayRule},
        {QStringLiteral("响应方式"), &t.action},
    };
    for (const auto& [label, text] : fields)
        if (const QChar c = forbiddenCharacterIn(*text); !c.isNull())
            return Refusal{forbiddenCharacterMessage(label, c), Prompter::Icon::None};

    if (!isDayRuleForm(t.dayRule))
        return Refusal{QStringLiteral("周期只能是“每天”、“星期一”、“每月1日”、“每年1月1日”或"
                                      "“2003年1月1日”这样的形式！"),
                       Prompter::Icon::Warning};
    return std::nullopt;
}

} // namespace campanor
