#include "HolidayImport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <libical/ical.h>
#include <memory>

namespace campanor {

namespace {

constexpr int kRepeatDays = 400;

bool sameDates(const CalendarDates& a, const CalendarDates& b) {
    return a.yearly == b.yearly && a.firstYear == b.firstYear && a.firstMonth == b.firstMonth &&
           a.firstDay == b.firstDay && a.lastYear == b.lastYear && a.lastMonth == b.lastMonth &&
           a.lastDay == b.lastDay;
}

CalendarDates datesOf(const QDate& first, const QDate& last) {
    CalendarDates dates;
    dates.firstYear = first.year();
    dates.firstMonth = first.month();
    dates.firstDay = first.day();
    dates.lastYear = last.year();
    dates.lastMonth = last.month();
    dates.lastDay = last.day();
    return dates;
}

QDate firstDate(const CalendarDates& dates) {
    return QDate(dates.firstYear, dates.firstMonth, dates.firstDay);
}

CalendarEntry entryOf(const QDate& first, const QDate& last, const QString& name,
                      CalendarKind kind) {
    CalendarEntry entry;
    entry.dates = datesOf(first, last);
    entry.name = withoutCalendarDelimiters(name).trimmed();
    entry.kind = kind;
    return entry;
}

// Drops what the calendar (or an earlier entry of the import) already holds
// and sorts the rest by date.
CalendarImport finish(QList<CalendarEntry> found, const Calendar& existing, QString problem) {
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return firstDate(a.dates) < firstDate(b.dates);
    });
    CalendarImport result;
    result.problem = std::move(problem);
    Calendar seen = existing;
    for (const CalendarEntry& entry : found) {
        if (calendarHolds(seen, entry))
            continue;
        seen.entries().append(entry);
        result.entries.append(entry);
    }
    return result;
}

bool isWorkdaySummary(const QString& summary) {
    return summary.contains(QStringLiteral("补班")) || summary.contains(QStringLiteral("上班")) ||
           summary.contains(QStringLiteral("调休"));
}

QDate dateOf(const icaltimetype& time) {
    return QDate(time.year, time.month, time.day);
}

struct IcalFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

} // namespace

bool calendarHolds(const Calendar& calendar, const CalendarEntry& entry) {
    return std::any_of(calendar.entries().begin(), calendar.entries().end(),
                       [&](const CalendarEntry& held) {
                           return held.kind == entry.kind && sameDates(held.dates, entry.dates);
                       });
}

QString withoutCalendarDelimiters(const QString& text) {
    QString clean;
    for (const QChar c : text)
        if (!QStringLiteral("|*><\"").contains(c) && c != u'\r' && c != u'\n')
            clean += c;
    return clean;
}

CalendarImport importHolidayCn(const QByteArray& json, const Calendar& existing) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const QJsonValue daysValue = document.object().value(QStringLiteral("days"));
    if (error.error != QJsonParseError::NoError || !daysValue.isArray())
        return {{}, QStringLiteral("不是 holiday-cn 格式的节假日文件（没有 days 列表）")};

    struct Day {
        QDate date;
        QString name;
        bool off;
    };
    QList<Day> days;
    int skipped = 0;
    for (const QJsonValue& value : daysValue.toArray()) {
        const QJsonObject object = value.toObject();
        const QDate date =
            QDate::fromString(object.value(QStringLiteral("date")).toString(), Qt::ISODate);
        const QJsonValue off = object.value(QStringLiteral("isOffDay"));
        if (!date.isValid() || !off.isBool()) {
            ++skipped;
            continue;
        }
        days.append({date, object.value(QStringLiteral("name")).toString(), off.toBool()});
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const Day& a, const Day& b) { return a.date < b.date; });

    QList<CalendarEntry> found;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const Day& day = days[i];
        if (!day.off) {
            found.append(entryOf(day.date, day.date, day.name, CalendarKind::MakeUp));
            continue;
        }
        QDate last = day.date;
        while (i + 1 < days.size() && days[i + 1].off && days[i + 1].name == day.name &&
               days[i + 1].date == last.addDays(1))
            last = days[++i].date;
        found.append(entryOf(day.date, last, day.name, CalendarKind::Holiday));
    }
    return finish(found, existing,
                  skipped ? QStringLiteral("%1 天的日期或放假标记看不懂，没有导入").arg(skipped)
                          : QString());
}

CalendarImport importICalendar(const QByteArray& ics, const QDate& from, const Calendar& existing) {
    // A malformed property is the file's problem, not a reason to abort the program.
    icalerror_set_errors_are_fatal(0);
    std::unique_ptr<icalcomponent, IcalFree> root(icalparser_parse_string(ics.constData()));
    if (!root)
        return {{}, QStringLiteral("不是 iCalendar（.ics）格式的日历文件")};

    QList<icalcomponent*> events;
    if (icalcomponent_isa(root.get()) == ICAL_VEVENT_COMPONENT)
        events.append(root.get());
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT))
        events.append(c);
    if (events.isEmpty())
        return {{}, QStringLiteral("日历文件里没有事件")};

    // A changed or cancelled occurrence of a repeating event is an event of
    // its own with the same UID: the series leaves that occurrence to it.
    QSet<QString> overridden;
    for (icalcomponent* event : events) {
        const icaltimetype id = icalcomponent_get_recurrenceid(event);
        if (!icaltime_is_null_time(id))
            overridden.insert(QString::fromUtf8(icalcomponent_get_uid(event)) + u'/' +
                              dateOf(id).toString(Qt::ISODate));
    }

    const QDate until = from.addDays(kRepeatDays);
    QList<CalendarEntry> found;
    for (icalcomponent* event : events) {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
            continue;
        const icaltimetype start = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(start))
            continue;
        const QString summary = QString::fromUtf8(icalcomponent_get_summary(event));
        const bool workday = isWorkdaySummary(summary);
        if (!start.is_date && !workday)
            continue; // a timed event (a meeting) is no holiday
        const CalendarKind kind = workday ? CalendarKind::MakeUp : CalendarKind::Holiday;

        // Days the event covers; DTEND of an all-day event is the day after.
        const icaltimetype end = icalcomponent_get_dtend(event);
        qint64 extraDays = 0;
        if (!icaltime_is_null_time(end)) {
            const QDate endDate = dateOf(end);
            extraDays = dateOf(start).daysTo(start.is_date ? endDate.addDays(-1) : endDate);
            extraDays = std::max<qint64>(extraDays, 0);
        }
        auto add = [&](const QDate& first) {
            const QDate last = first.addDays(extraDays);
            if (first.isValid() && last >= from && first < until)
                found.append(entryOf(first, last, summary, kind));
        };

        icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (!rule || !icaltime_is_null_time(icalcomponent_get_recurrenceid(event))) {
            add(dateOf(start));
            continue;
        }
        QSet<QDate> excluded;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
            excluded.insert(dateOf(icalproperty_get_exdate(p)));
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(event));
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
        if (!it)
            continue;
        for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
             next = icalrecur_iterator_next(it)) {
            const QDate day = dateOf(next);
            if (!day.isValid() || day >= until)
                break;
            if (!excluded.contains(day) &&
                !overridden.contains(uid + u'/' + day.toString(Qt::ISODate)))
                add(day);
        }
        icalrecur_iterator_free(it);
    }
    return finish(found, existing, QString());
}

} // namespace campanor
