#include "Calendar.h"

#include <QRegularExpression>
#include <array>

namespace campanor {

namespace {

const std::array<QString, 7> kWeekdayNames = {QStringLiteral("星期一"), QStringLiteral("星期二"),
                                              QStringLiteral("星期三"), QStringLiteral("星期四"),
                                              QStringLiteral("星期五"), QStringLiteral("星期六"),
                                              QStringLiteral("星期日")};

const QString kYearly = QStringLiteral("每年");

// A leap year, so that 2月29日 is a day of it.
constexpr int kLeapYear = 2000;

struct OneDay {
    bool yearly = false;
    int year = 0, month = 0, day = 0;
};

// Whole numbers as the day rules write them: no sign, no leading zero.
std::optional<int> plainNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 4 || text.front() == u'0')
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toInt();
}

std::optional<OneDay> parseDay(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(?:每年|([0-9]+)年)([0-9]+)月([0-9]+)日$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    OneDay day;
    day.yearly = text.startsWith(kYearly);
    const auto month = plainNumber(m.captured(2));
    const auto date = plainNumber(m.captured(3));
    if (!month || !date)
        return std::nullopt;
    day.month = *month;
    day.day = *date;
    if (!day.yearly) {
        const auto year = plainNumber(m.captured(1));
        if (!year)
            return std::nullopt;
        day.year = *year;
    }
    if (!QDate(day.yearly ? kLeapYear : day.year, day.month, day.day).isValid())
        return std::nullopt;
    return day;
}

QString dayText(bool yearly, int year, int month, int day) {
    return (yearly ? kYearly : QString::number(year) + u'年') + QString::number(month) + u'月' +
           QString::number(day) + u'日';
}

} // namespace

QString calendarKindWord(CalendarKind kind) {
    switch (kind) {
    case CalendarKind::Holiday:
        return QStringLiteral("放假");
    case CalendarKind::Table:
        return QStringLiteral("换表");
    case CalendarKind::MakeUp:
        return QStringLiteral("调休");
    }
    return {};
}

namespace {

// The entry of `kind` that covers `day` and wins: the shortest span, the later
// in the file on equal spans.
const CalendarEntry* winner(const QList<CalendarEntry>& entries, CalendarKind kind,
                            const QDate& day) {
    const CalendarEntry* best = nullptr;
    int bestSpan = 0;
    for (const CalendarEntry& entry : entries) {
        if (entry.kind != kind || !entry.dates.covers(day))
            continue;
        const int span = entry.dates.span();
        if (!best || span <= bestSpan) {
            best = &entry;
            bestSpan = span;
        }
    }
    return best;
}

} // namespace

bool CalendarDates::covers(const QDate& day) const {
    if (!day.isValid())
        return false;
    if (!yearly)
        return QDate(firstYear, firstMonth, firstDay) <= day &&
               day <= QDate(lastYear, lastMonth, lastDay);
    // Month and day as one number; a range whose end comes first in the year
    // runs over New Year.
    const int key = day.month() * 100 + day.day();
    const int first = firstMonth * 100 + firstDay;
    const int last = lastMonth * 100 + lastDay;
    if (first <= last)
        return first <= key && key <= last;
    return key >= first || key <= last;
}

int CalendarDates::span() const {
    if (!yearly)
        return int(QDate(firstYear, firstMonth, firstDay)
                       .daysTo(QDate(lastYear, lastMonth, lastDay))) +
               1;
    const bool overNewYear = firstMonth * 100 + firstDay > lastMonth * 100 + lastDay;
    // Years chosen so that a 2月29日 at either end is a real day.
    int year = kLeapYear;
    if (overNewYear && lastMonth == 2 && lastDay == 29)
        year = kLeapYear + 3;
    const QDate first(year, firstMonth, firstDay);
    const QDate last(overNewYear ? year + 1 : year, lastMonth, lastDay);
    return int(first.daysTo(last)) + 1;
}

QString CalendarDates::text() const {
    QString text = dayText(yearly, firstYear, firstMonth, firstDay);
    if (firstYear != lastYear || firstMonth != lastMonth || firstDay != lastDay)
        text += u'~' + dayText(yearly, lastYear, lastMonth, lastDay);
    return text;
}

std::optional<CalendarDates> CalendarDates::parse(const QString& text) {
    const QStringList ends = text.trimmed().split(u'~');
    if (ends.size() > 2)
        return std::nullopt;
    const auto first = parseDay(ends.front().trimmed());
    const auto last = parseDay(ends.back().trimmed());
    if (!first || !last || first->yearly != last->yearly)
        return std::nullopt;
    CalendarDates dates;
    dates.yearly = first->yearly;
    dates.firstYear = first->year;
    dates.firstMonth = first->month;
    dates.firstDay = first->day;
    dates.lastYear = last->year;
    dates.lastMonth = last->month;
    dates.lastDay = last->day;
    // Only a yearly range may end "before" it starts: it runs over New Year.
    if (!dates.yearly &&
        QDate(last->year, last->month, last->day) < QDate(first->year, first->month, first->day))
        return std::nullopt;
    return dates;
}

QString CalendarEntry::text() const {
    return dates.text() + u'*' + name + u'>' + calendarKindWord(kind) + u'<' + parameter;
}

std::optional<CalendarEntry> CalendarEntry::parse(const QString& text) {
    const qsizetype star = text.indexOf(u'*');
    const qsizetype close = text.indexOf(u'>', star + 1);
    if (star < 0 || close < 0)
        return std::nullopt;
    qsizetype open = text.indexOf(u'<', close + 1);
    if (open < 0)
        open = text.size();
    const QString name = text.mid(star + 1, close - star - 1);
    if (name.contains(u'*') || name.contains(u'<') || name.contains(u'"') || name.contains(u'|'))
        return std::nullopt;
    const auto dates = CalendarDates::parse(text.left(star));
    if (!dates)
        return std::nullopt;
    CalendarEntry entry;
    entry.dates = *dates;
    entry.name = name;
    entry.parameter = text.mid(open + 1).trimmed();
    const QString kind = text.mid(close + 1, open - close - 1).trimmed();
    if (kind == calendarKindWord(CalendarKind::Holiday)) {
        entry.kind = CalendarKind::Holiday;
        if (!entry.parameter.isEmpty())
            return std::nullopt;
    } else if (kind == calendarKindWord(CalendarKind::Table)) {
        entry.kind = CalendarKind::Table;
        if (entry.parameter.isEmpty())
            return std::nullopt;
    } else if (kind == calendarKindWord(CalendarKind::MakeUp)) {
        entry.kind = CalendarKind::MakeUp;
        if (!entry.parameter.isEmpty() && entry.makeUpWeekday() == 0)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (entry.parameter.contains(u'"') || entry.parameter.contains(u'|'))
        return std::nullopt;
    return entry;
}

int CalendarEntry::makeUpWeekday() const {
    if (kind != CalendarKind::MakeUp)
        return 0;
    for (int i = 0; i < 7; ++i)
        if (parameter == kWeekdayNames[i])
            return i + 1;
    return 0;
}

Calendar Calendar::fromText(const QString& text, QStringList* problems) {
    Calendar calendar;
    const QStringList parts = text.split(u'|');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        // Line breaks a hand edit put between entries mean nothing.
        const QString part = parts[i].trimmed();
        if (part.isEmpty())
            continue;
        if (auto entry = CalendarEntry::parse(part))
            calendar.entries_.append(std::move(*entry));
        else if (problems)
            *problems << QStringLiteral("第%1项无法识别，已跳过：%2").arg(i + 1).arg(part);
    }
    return calendar;
}

QString Calendar::text() const {
    QStringList parts;
    parts.reserve(entries_.size());
    for (const CalendarEntry& entry : entries_)
        parts << entry.text();
    return parts.join(u'|');
}

CalendarDay Calendar::resolve(const QDate& day, const QString& defaultTable) const {
    CalendarDay result;
    result.table = defaultTable;
    result.ruleWeekday = day.dayOfWeek();
    if (const CalendarEntry* makeUp = winner(entries_, CalendarKind::MakeUp, day)) {
        result.makeUp = true;
        result.makeUpName = makeUp->name;
        if (const int weekday = makeUp->makeUpWeekday())
            result.ruleWeekday = weekday;
        else
            result.makeUpWithoutWeekday = true;
    } else if (const CalendarEntry* holiday = winner(entries_, CalendarKind::Holiday, day)) {
        result.holiday = true;
        result.holidayName = holiday->name;
    }
    if (const CalendarEntry* table = winner(entries_, CalendarKind::Table, day)) {
        result.table = table->parameter;
        result.tableFromCalendar = true;
        result.tableName = table->name;
    }
    return result;
}

QString weekdayName(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : QString();
}

} // namespace campanor
