#include "players/MediaPlayer.h"

#include <benchmark/benchmark.h>

using namespace campanor;

namespace {

// From a due ring to its sound starting: stop, open (with preroll), play.
// The target is well under 150 ms once the decoders are loaded.
void RingStartLatency(benchmark::State& state) {
    qputenv("CAMPANOR_AUDIO_SINK", "fakesink sync=true");
    const QString chime = QStringLiteral(CAMPANOR_BENCH_ASSETS "/timeup.mp3");
    MediaPlayer::warmUp(chime);
    MediaPlayer player;
    for (auto _ : state) {
        player.Stop();
        player.setFileName(chime);
        player.Play();
        benchmark::DoNotOptimize(player.duration());
    }
    state.counters["duration_s"] = player.duration();
}
BENCHMARK(RingStartLatency)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
