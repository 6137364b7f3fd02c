#include "FullTable.h"
#include "scheduler/Matching.h"
#include "table/TableText.h"

#include <QDate>
#include <QStringList>
#include <benchmark/benchmark.h>

using namespace campanor;
using campanor::bench::fullTableText;

namespace {

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
