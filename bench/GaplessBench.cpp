#include "fixtures/Audio.h"
#include "players/MediaPlayer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gst/gst.h>
#include <mutex>
#include <vector>

using namespace campanor;

namespace {

// The silence between two tracks of a list, measured on what the sink plays:
// each buffer's clock time (the sink's base time plus its running time) with
// a synchronised fakesink. Same-format tone files, so the files hold none.

struct Output {
    std::mutex lock;
    std::vector<std::pair<qint64, qint64>> spans; // clock time, ns

    static void handoff(GstElement* sink, GstBuffer* buffer, GstPad* pad, Output* self) {
        GstEvent* event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
        if (!event || !GST_BUFFER_PTS_IS_VALID(buffer))
            return;
        const GstSegment* segment = nullptr;
        gst_event_parse_segment(event, &segment);
        const qint64 start =
            qint64(gst_element_get_base_time(sink)) +
            qint64(gst_segment_to_running_time(segment, GST_FORMAT_TIME, buffer->pts));
        gst_event_unref(event);
        const std::lock_guard guard(self->lock);
        self->spans.emplace_back(start, start + qint64(buffer->duration));
    }

    qint64 longestGap() {
        const std::lock_guard guard(lock);
        qint64 longest = 0;
        for (size_t i = 1; i < spans.size(); ++i)
            longest = std::max(longest, spans[i].first - spans[i - 1].second);
        spans.clear();
        return longest;
    }
};

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
    Output output;
    g_signal_connect(player.outputElement("out"), "handoff", G_CALLBACK(&Output::handoff), &output);
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
        output.longestGap();
        player.setNextFileName(gapless ? b : QString());
        player.setFileName(a);
        const int expected = gapless ? 1 : 2;
        while (ends < expected)
            g_main_context_iteration(nullptr, TRUE);
        const qint64 gap = output.longestGap();
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
