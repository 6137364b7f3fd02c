#include "calendar/Calendar.h"
#include "calendar/DayPlan.h"
#include "common/RecordFile.h"
#include "table/TableText.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace campanor;

namespace {

// A busy school's calendar: 500 entries of every kind, yearly ones among them.
Calendar calendarOf500() {
    QRandomGenerator random(18);
    QStringList entries;
    for (int i = 0; i < 500; ++i) {
        const QDate first = QDate(2024, 1, 1).addDays(random.bounded(4 * 365));
        const QDate last = first.addDays(random.bounded(i % 10 == 0 ? 60 : 7));
        auto day = [&](const QDate& d) {
            return i % 25 == 0
                       ? QStringLiteral("每年%1月%2日").arg(d.month()).arg(d.day())
                       : QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
        };
        QString kind;
        switch (i % 3) {
        case 0:
            kind = QStringLiteral("放假<");
            break;
        case 1:
            kind = QStringLiteral("换表</srv/tables/T%1.DTT").arg(i);
            break;
        default:
            kind = QStringLiteral("调休<星期二");
        }
        entries << day(first) + u'~' + day(last) + QStringLiteral("*第%1项>").arg(i) + kind;
    }
    return Calendar::fromText(entries.join(u'|'));
}

// What the program does when the date changes, for 10,000 random dates.
void DaysTableOf10000DatesWith500Entries(benchmark::State& state) {
    const Calendar calendar = calendarOf500();
    QRandomGenerator random(2026);
    QList<QDate> dates;
    for (int i = 0; i < 10000; ++i)
        dates << QDate(2024, 1, 1).addDays(random.bounded(4 * 365));
    const QString defaultTable = QStringLiteral("/srv/tables/Default.DTT");
    for (auto _ : state)
        for (const QDate& date : dates)
            benchmark::DoNotOptimize(calendar.resolve(date, defaultTable));
    state.counters["per_date_us"] =
        benchmark::Counter(double(dates.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}
BENCHMARK(DaysTableOf10000DatesWith500Entries)->Unit(benchmark::kMillisecond);

// The preview of a day: a 300-line table whose lines hop through three other
// tables with "打开表", each also of 300 lines, read from disk every time;
// the lines ring twelve different files, none of which exists.
void PreviewOf300LinesWithThreeHops(benchmark::State& state) {
    QTemporaryDir folder;
    const char* rules[] = {"每天", "星期二", "每月8日", "每年12月8日", "2026年12月8日"};
    for (int t = 0; t < 4; ++t) {
        QString text;
        for (int i = 0; i < 300; ++i) {
            const int second = 6 * 3600 + t * 3 * 3600 + i * 30;
            const QString time = QTime(0, 0).addSecs(second).toString(QStringLiteral("HH:mm:ss"));
            const QString action = t < 3 && i == 299
                                       ? QStringLiteral("打开表") +
                                             folder.filePath(QStringLiteral("T%1.DTT").arg(t + 1))
                                       : QStringLiteral("/srv/bells/bell%1.mp3").arg(i % 12);
            text += QStringLiteral("|%1*第%2条>%3<%4")
                        .arg(time)
                        .arg(i)
                        .arg(QString::fromUtf8(rules[i % 5]), action);
        }
        writeTextRecord(folder.filePath(QStringLiteral("T%1.DTT").arg(t)), text);
    }
    const Calendar calendar;
    std::size_t planned = 0;
    for (auto _ : state) {
        const DayPlan plan =
            planDay(calendar, QDate(2026, 12, 8), folder.filePath(QStringLiteral("T0.DTT")));
        planned = std::size_t(plan.instructions.size());
        benchmark::DoNotOptimize(plan);
    }
    state.counters["instructions"] = double(planned);
}
BENCHMARK(PreviewOf300LinesWithThreeHops)->Unit(benchmark::kMicrosecond);

} // namespace
