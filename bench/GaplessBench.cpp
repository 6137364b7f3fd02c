#include "fixtures/Audio.h"
#include "fixtures/OutputRecorder.h"
#include "players/MediaPlayer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gst/gst.h>

using namespace campanor;

namespace {

// The silence between two tracks of a list, measured on what the sink plays:
// each buffer's clock time (the sink's base time plus its running time) with
// a synchronised fakesink. Same-format tone files, so the files hold none.
void ListGap(benchmark::State& state, bool gapless) {
    gst_init(nullptr, nullptr);
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.wav"));
    const QString b = dir.filePath(QStringLiteral("b.wav"));
    if (!test::writeTone(a, 0.3, 440) || !test::writeTone(b, 0.3, 550)) {
        state.SkipWithError("cannot write the tones");
        return;
    }
    MediaPlayer player(nullptr, QStringLiteral("fakesink name=out sync=true signal-handoffs=true"));
    test::OutputRecorder output(player.outputElement("out"), test::OutputRecorder::Time::Clock);
    int ends = 0;
    QObject::connect(&player, &MediaControl::endOfStream, [&] {
        ++ends;
        // Without a hand-over the list opens the next file when one ends.
        if (!gapless && ends == 1)
            player.setFileName(b);
    });
    double total = 0;
    qint64 worst = 0;
    for (auto _ : state) {
        ends = 0;
        output.clear();
        player.setNextFileName(gapless ? b : QString());
        player.setFileName(a);
        const int expected = gapless ? 1 : 2;
        while (ends < expected)
            g_main_context_iteration(nullptr, TRUE);
        const qint64 gap = output.longestGapNs();
        total += double(gap);
        worst = std::max(worst, gap);
    }
    state.counters["gap_ms"] = total / double(state.iterations()) / 1e6;
    state.counters["worst_gap_ms"] = double(worst) / 1e6;
}

void ListGapReopen(benchmark::State& state) {
    ListGap(state, false);
}
void ListGapGapless(benchmark::State& state) {
    ListGap(state, true);
}
BENCHMARK(ListGapReopen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListGapGapless)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
