#include "scheduler/NextInstruction.h"
#include "table/TableText.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <benchmark/benchmark.h>

using namespace campanor;

namespace {

// A full table of 300 lines spread over the school day with every kind of day rule.
QStringList fullTable() {
    const char* rules[] = {"每天", "星期二", "每月8日", "每年12月8日", "2026年12月8日"};
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("%1:%2:%3*第%4条>%5</srv/bells/bell%4.mp3")
                     .arg(6 + i / 25, 2, 10, QChar('0'))
                     .arg(i * 7 % 60, 2, 10, QChar('0'))
                     .arg(i % 60, 2, 10, QChar('0'))
                     .arg(i)
                     .arg(QString::fromUtf8(rules[i % 5]));
    sortInstructionLines(lines);
    return lines;
}

const QDate kDay(2026, 12, 8);

// The search itself, at a second when every line is still ahead: the most it costs.
void FindNextInFullTable(benchmark::State& state) {
    const QStringList lines = fullTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(findNextInstruction(lines, QStringLiteral("05:00:00"), kDay));
}
BENCHMARK(FindNextInFullTable)->Unit(benchmark::kMicrosecond);

// What the main window pays on an ordinary second: the table and the day are
// unchanged and the next instruction is still ahead.
void RefreshEverySecondNothingChanged(benchmark::State& state) {
    const QStringList lines = fullTable();
    NextInstructionCache cache;
    cache.update(lines, QStringLiteral("05:00:00"), kDay);
    const QString clockText = QStringLiteral("05:30:00");
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.update(lines, clockText, kDay));
}
BENCHMARK(RefreshEverySecondNothingChanged);

// A day's worth of seconds from 06:00 to 18:00 through the cache: the total
// cost of following the clock for twelve hours, searches included.
void RefreshTwelveHours(benchmark::State& state) {
    const QStringList lines = fullTable();
    QStringList seconds;
    for (int s = 6 * 3600; s < 18 * 3600; ++s)
        seconds << QTime(0, 0).addSecs(s).toString(QStringLiteral("HH:mm:ss"));
    for (auto _ : state) {
        NextInstructionCache cache;
        int changes = 0;
        for (const QString& clockText : seconds)
            changes += cache.update(lines, clockText, kDay);
        benchmark::DoNotOptimize(changes);
    }
    state.counters["seconds"] = double(seconds.size());
}
BENCHMARK(RefreshTwelveHours)->Unit(benchmark::kMillisecond);

} // namespace
