#include "InstructionComposer.h"

#include "ActionOptions.h"
#include "InstructionLine.h"
#include "TableText.h"

#include <algorithm>

namespace campanor {

namespace {

Refusal warning(const QString& text) {
    return {text, Prompter::Icon::Warning};
}

// The day rule the option frame describes, or the refusal of its inputs.
std::optional<Refusal> dayRule(const ComposerInput& in, QString& rule) {
    switch (in.rule) {
    case DayRuleKind::EveryDay:
        rule = QStringLiteral("每天");
        return std::nullopt;
    case DayRuleKind::Weekday:
        if (in.weekday.isEmpty())
            return warning(QStringLiteral("没有选择星期几!"));
        rule = QStringLiteral("星期") + in.weekday;
        return std::nullopt;
    case DayRuleKind::DayOfMonth:
        if (in.monthDay.isEmpty())
            return warning(QStringLiteral("没有选择日子!"));
        rule = QStringLiteral("每月") + in.monthDay + u'日';
        return std::nullopt;
    case DayRuleKind::DayOfYear:
        if (in.month.isEmpty())
            return warning(QStringLiteral("没有选择月份!"));
        if (in.day.isEmpty())
            return warning(QStringLiteral("没有选择日子!"));
        rule = QStringLiteral("每年") + in.month + u'月' + in.day + u'日';
        return std::nullopt;
    case DayRuleKind::Date:
        if (in.year.isEmpty()) {
            Refusal r = warning(QStringLiteral("没有输入年份!"));
            r.focusYear = true;
            return r;
        }
        Refusal notFourDigits = warning(QStringLiteral("年份要为四位数,如2003"));
        notFourDigits.resetYear = notFourDigits.focusYear = true;
        if (in.year.size() != 4)
            return notFourDigits;
        if (const QChar c = forbiddenCharacterIn(in.year); !c.isNull()) {
            Refusal r{forbiddenCharacterMessage(QStringLiteral("周期"), c), Prompter::Icon::None};
            r.focusYear = true;
            return r;
        }
        // The scheduler compares the year with the date's ASCII digits: an
        // input method's full-width "２０２５" would never match.
        if (!isAsciiNumber(in.year))
            return notFourDigits;
        if (in.dateMonth.isEmpty())
            return warning(QStringLiteral("没有选择月份!"));
        if (in.dateDay.isEmpty())
            return warning(QStringLiteral("没有选择日子!"));
        rule = in.year + u'年' + in.dateMonth + u'月' + in.dateDay + u'日';
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Refusal> missingParameter(const ComposerInput& in) {
    const QString name = QLatin1String(in.action->name);
    if (!in.parameterBox.isEmpty())
        return std::nullopt;
    if (name == QLatin1String("Option14") || name == QLatin1String("Option29"))
        return warning(QStringLiteral("你没有选取要播音的播表文件"));
    if (name == QLatin1String("Option21"))
        return warning(QStringLiteral("你没有选择要执行的文件名！"));
    if (name == QLatin1String("Option27"))
        return warning(QStringLiteral("你没有选择要调入的全天时间安排表！"));
    if (in.action->source == ParameterSource::SearchFolder)
        return warning(QStringLiteral("请先选择要搜索的文件夹！"));
    return std::nullopt;
}

QString actionField(const ComposerInput& in) {
    switch (in.action->source) {
    case ParameterSource::DefaultRing:
    case ParameterSource::ChosenRing:
        return in.parameter;
    case ParameterSource::Program:
    case ParameterSource::Playlist:
    case ParameterSource::Table:
        return in.action->word + in.parameter;
    case ParameterSource::SearchFolder:
        // The folder the user sees beside the option, never one left over
        // from an earlier pick for another option.
        return in.action->word + in.parameterBox;
    case ParameterSource::None:
        break;
    }
    return in.action->word;
}

} // namespace

bool isAsciiNumber(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QChar forbiddenCharacterIn(const QString& text) {
    for (const QChar c : {u'|', u'*', u'>', u'<', u'"'})
        if (text.contains(c))
            return c;
    return {};
}

QString forbiddenCharacterMessage(const QString& field, QChar c) {
    return field + QStringLiteral("中不能包含[") + c + QStringLiteral("]这个字符！");
}

std::optional<Refusal> checkChosenPath(const QString& path) {
    // "*", ">" and "<" are harmless in a path: it is always the last field.
    for (const QChar c : {u'|', u'"'})
        if (path.contains(c))
            return Refusal{QStringLiteral("文件名中不能包含[") + c +
                               QStringLiteral("]这个字符，指令表无法保存它！请重新选择。"),
                           Prompter::Icon::Warning};
    return std::nullopt;
}

QString programCommandLine(const QString& path) {
    static const QString quoting = QStringLiteral(" \t\n'\\\"#");
    if (std::none_of(path.begin(), path.end(), [](QChar c) { return quoting.contains(c); }))
        return path;
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

Composed composeInstruction(const ComposerInput& in, int loadedCount) {
    if (in.hour.isEmpty() || in.minute.isEmpty() || in.second.isEmpty())
        return {warning(QStringLiteral("你没有选择要定义的时间!")), {}};
    if (loadedCount >= kMaxInstructions)
        return {warning(kCapacityMessage), {}};

    QString real = u'|' + in.hour + u':' + in.minute + u':' + in.second;
    real += u'*' + (in.comment.isEmpty() ? kNoComment : in.comment);
    // The comment messages come in this order: a comment holding several of
    // the characters is refused for the first of them here.
    for (const QChar c : {u'|', u'*', u'>', u'<', u'"'})
        if (in.comment.contains(c))
            return {
                Refusal{forbiddenCharacterMessage(QStringLiteral("注释"), c), Prompter::Icon::None},
                {}};

    QString rule;
    if (auto refused = dayRule(in, rule))
        return {refused, {}};
    real += u'>' + rule;

    if (!in.action)
        return {warning(QStringLiteral("没有选择响应方式!")), {}};
    if (auto refused = missingParameter(in))
        return {refused, {}};
    const QString action = actionField(in);
    // The default ring and the folder come from elsewhere: a path that the
    // table cannot hold is refused here at the latest.
    if (auto refused = checkChosenPath(action))
        return {refused, {}};
    real += u'<' + action;
    return {std::nullopt, real};
}

ComposedSet composeInstructions(const ComposerInput& input, const QStringList& lines) {
    const bool several = input.rule == DayRuleKind::Weekday && input.weekdays.size() > 1;
    const QStringList days = input.rule == DayRuleKind::Weekday && !input.weekdays.isEmpty()
                                 ? input.weekdays
                                 : QStringList{input.weekday};
    ComposedSet set;
    for (const QString& day : days) {
        ComposerInput one = input;
        one.weekday = day;
        const int count = static_cast<int>(lines.size() + set.realStrings.size());
        Composed composed = composeInstruction(one, count);
        if (composed.refusal)
            return {composed.refusal, {}};
        if (isDuplicate(composed.realString.mid(1), lines)) {
            // Of several lines, the one that is already there is named.
            const QString which = several ? u'\n' + composed.realString.mid(1) : QString();
            return {warning(kDuplicateMessage + which), {}};
        }
        set.realStrings << composed.realString;
    }
    return set;
}

bool isDuplicate(const QString& line, const QStringList& lines) {
    const auto instruction = Instruction::parse(line);
    if (!instruction)
        return false;
    for (const QString& loaded : lines) {
        const auto other = Instruction::parse(loaded);
        if (other && other->time == instruction->time && other->dayRule == instruction->dayRule)
            return true;
    }
    return false;
}

} // namespace campanor
