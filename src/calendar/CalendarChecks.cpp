#include "CalendarChecks.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace campanor {

namespace {

const QString kDelimiters = QStringLiteral("|*><\"");

bool holdsDelimiter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return kDelimiters.contains(c); });
}

// "2026-10-01" as the file writes it: "2026年10月1日".
QString fromIsoDates(QString text) {
    static const QRegularExpression iso(QStringLiteral("(\\d{4})-(\\d{1,2})-(\\d{1,2})"));
    QRegularExpressionMatch m;
    while ((m = iso.match(text)).hasMatch())
        text.replace(m.capturedStart(), m.capturedLength(),
                     QStringLiteral("%1年%2月%3日")
                         .arg(m.captured(1).toInt())
                         .arg(m.captured(2).toInt())
                         .arg(m.captured(3).toInt()));
    return text;
}

QDate firstDateOf(const CalendarDates& dates) {
    return QDate(dates.firstYear, dates.firstMonth, dates.firstDay);
}

bool equalDates(const CalendarDates& a, const CalendarDates& b) {
    return a.text() == b.text();
}

} // namespace

CheckedEntry checkEntryForm(const CalendarEntryForm& form, bool weekdayMayWait) {
    if (holdsDelimiter(form.name) || holdsDelimiter(form.parameter) || holdsDelimiter(form.dates))
        return {std::nullopt, QStringLiteral("日期、名称和指令表中不能含有 | * > < 或双引号")};
    const QString datesText = fromIsoDates(form.dates.trimmed());
    const QStringList ends = datesText.split(u'~');
    if (ends.size() == 2) {
        const auto first = CalendarDates::parse(ends[0]);
        const auto last = CalendarDates::parse(ends[1]);
        if (first && last && !first->yearly && !last->yearly &&
            firstDateOf(*last) < firstDateOf(*first))
            return {std::nullopt, QStringLiteral("结束日期 %1 早于开始日期 %2")
                                      .arg(ends[1].trimmed(), ends[0].trimmed())};
    }
    const auto dates = CalendarDates::parse(datesText);
    if (!dates)
        return {std::nullopt, QStringLiteral("日期看不懂：%1（例如 2026年10月1日~2026年10月7日，"
                                             "或 每年5月1日~每年9月30日）")
                                  .arg(form.dates)};
    CalendarEntry entry;
    entry.dates = *dates;
    entry.name = form.name.trimmed();
    entry.kind = form.kind;
    entry.parameter = form.parameter.trimmed();
    switch (form.kind) {
    case CalendarKind::Holiday:
        entry.parameter.clear();
        break;
    case CalendarKind::Table:
        if (entry.parameter.isEmpty())
            return {std::nullopt, QStringLiteral("换表必须选择一个指令表")};
        if (!QFileInfo(entry.parameter).isFile())
            return {std::nullopt, QStringLiteral("指令表不存在：") + entry.parameter};
        break;
    case CalendarKind::MakeUp:
        if (entry.parameter.isEmpty() && !weekdayMayWait)
            return {std::nullopt, QStringLiteral("调休日必须选择按星期几上课")};
        if (!entry.parameter.isEmpty() && entry.makeUpWeekday() == 0)
            return {std::nullopt, QStringLiteral("调休日的星期看不懂：") + entry.parameter};
        break;
    }
    return {entry, QString()};
}

QString sameDatesWarning(const Calendar& calendar, const CalendarEntry& entry, int except) {
    const auto& entries = calendar.entries();
    for (int i = 0; i < entries.size(); ++i)
        if (i != except && entries[i].kind == entry.kind &&
            equalDates(entries[i].dates, entry.dates))
            return QStringLiteral("校历中已有同样日期、同样类型的条目：") + entries[i].text();
    return {};
}

QList<int> entriesInDateOrder(const Calendar& calendar) {
    const auto& entries = calendar.entries();
    QList<int> order;
    for (int i = 0; i < entries.size(); ++i)
        order << i;
    auto key = [&](int i) {
        const CalendarDates& d = entries[i].dates;
        return std::tuple(!d.yearly, d.firstYear, d.firstMonth, d.firstDay);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    return order;
}

DayMark dayMark(const Calendar& calendar, const QDate& day) {
    const CalendarDay resolved = calendar.resolve(day, QString());
    if (resolved.makeUp)
        return DayMark::MakeUp;
    if (resolved.holiday)
        return DayMark::Holiday;
    if (resolved.tableFromCalendar)
        return DayMark::Table;
    return DayMark::None;
}

QString tomorrowText(const Calendar& calendar, const QDate& today, const QString& defaultTable) {
    if (calendar.isEmpty() || !today.isValid())
        return {};
    const CalendarDay day = calendar.resolve(today.addDays(1), defaultTable);
    if (day.holiday)
        return day.holidayName.isEmpty() ? QStringLiteral("明天：放假")
                                         : QStringLiteral("明天：放假（%1）").arg(day.holidayName);
    QStringList parts;
    if (day.makeUp)
        parts << (day.makeUpWithoutWeekday
                      ? QStringLiteral("调休，还没有选择按星期几")
                      : QStringLiteral("调休，按") + weekdayName(day.ruleWeekday));
    if (day.tableFromCalendar)
        parts << QStringLiteral("换表 ") + QFileInfo(day.table).fileName();
    return parts.isEmpty() ? QString()
                           : QStringLiteral("明天：") + parts.join(QStringLiteral("；"));
}

QString makeUpWithoutWeekdayWarning(const Calendar& calendar, const QDate& today) {
    if (calendar.isEmpty() || !today.isValid())
        return {};
    QStringList days;
    for (int ahead = 0; ahead <= 7; ++ahead) {
        const QDate day = today.addDays(ahead);
        if (calendar.resolve(day, QString()).makeUpWithoutWeekday)
            days << QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
    }
    if (days.isEmpty())
        return {};
    return QStringLiteral("调休日 %1 还没有选择按星期几上课（系统 → 校历）")
        .arg(days.join(QStringLiteral("、")));
}

} // namespace campanor
