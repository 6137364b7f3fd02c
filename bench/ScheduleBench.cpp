#include "scheduler/Matching.h"
#include "table/TableText.h"

#include <QDate>
#include <QStringList>
#include <benchmark/benchmark.h>

using namespace campanor;

namespace {

QString fullTableText() {
    const char* rules[] = {"每天", "星期三", "每月15日", "每年3月8日", "2026年5月1日"};
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("|%1:%2:00*没有注释>%3</srv/bells/bell%4.mp3")
                    .arg(6 + i % 14, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'))
                    .arg(QString::fromUtf8(rules[i % 5]))
                    .arg(i);
    return text;
}

// A full table read into sorted lines: part of start-up and of every edit.
void SplitAndSortFullTable(benchmark::State& state) {
    const QString text = fullTableText();
    for (auto _ : state) {
        QStringList lines = splitTableText(text);
        sortInstructionLines(lines);
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(SplitAndSortFullTable);

// The scan of one tick when nothing is due: the idle cost of every second.
void ScanFullTableNothingDue(benchmark::State& state) {
    QStringList lines = splitTableText(fullTableText());
    sortInstructionLines(lines);
    const QDate today(2026, 12, 8);
    for (auto _ : state) {
        int due = 0;
        for (const QString& line : lines)
            due += IsInstructionDue(line, QStringLiteral("23:59:59"), today);
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(ScanFullTableNothingDue);

} // namespace

BENCHMARK_MAIN();
