#include "FullTable.h"
#include "table/InstructionTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <optional>

using namespace campanor;

namespace {

// A program folder with a full 300-line default table, already set up, with
// the skin a first-run reset puts on.
bool prepareFolder(const QString& folder) {
    QDir().mkpath(folder + "/DayTimeTable");
    QDir().mkpath(folder + "/PlayListFile");
    QDir().mkpath(folder + "/skin");
    const QString table = folder + "/DayTimeTable/Default.DTT";
    const QString skin = folder + "/skin/B-Studio.skn";
    QFile::copy(CAMPANOR_BENCH_ASSETS "/timeup.mp3", folder + "/timeup.mp3");
    QFile::copy(CAMPANOR_BENCH_ASSETS "/skin/B-Studio.skn", skin);
    return writeTableFile(table, bench::fullTableText()) &&
           writeNumberRecord(folder + "/ResetSystem.txt", 1) &&
           writeTextRecord(folder + "/DefaultDTT.txt", table) &&
           writeTextRecord(folder + "/skin.txt", skin) &&
           writeTextRecord(folder + "/show.txt", QStringLiteral("show")) &&
           writeTextRecord(folder + "/Shut.txt", QStringLiteral("开60"));
}

// One cold start of the probe; the first frame and the ready time in ms.
std::optional<std::pair<double, double>> coldStart(const QString& mode, const QString& folder) {
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("DISPLAY") && !env.contains("WAYLAND_DISPLAY"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("CAMPANOR_HOME", folder);
    env.insert("CAMPANOR_AUDIO_SINK", "fakesink");
    env.insert("XDG_CONFIG_HOME", folder + "/config");
    probe.setProcessEnvironment(env);
    probe.start(CAMPANOR_BENCH_PROBE, {mode});
    if (!probe.waitForFinished(60000))
        return std::nullopt;
    const QList<QByteArray> fields = probe.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return std::nullopt;
    return std::pair{fields[0].toDouble(), fields[1].toDouble()};
}

// Cold starts, side by side in one run: a bare Qt window of the same size,
// the same with one line of Chinese text, then Campanor with a full table.
// The iteration time is Campanor's first frame; the counters set it against
// the bare window's. The aim is within 1.5 times the bare window.
void StartUpFirstPaint(benchmark::State& state) {
    QTemporaryDir dir;
    if (!prepareFolder(dir.path())) {
        state.SkipWithError("cannot prepare the program folder");
        return;
    }
    double bare = 0, text = 0, table = 0, ready = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto plain = coldStart("bare", dir.path());
        const auto oneLine = coldStart("text", dir.path());
        const auto full = coldStart("campanor", dir.path());
        if (!plain || !oneLine || !full) {
            state.SkipWithError("the start-up probe failed");
            return;
        }
        bare += plain->first;
        text += oneLine->first;
        table += full->first;
        ready += full->second;
        ++runs;
        state.SetIterationTime(full->first / 1000.0);
    }
    state.counters["bare_ms"] = bare / runs;
    state.counters["bare_text_ms"] = text / runs;
    state.counters["table300_ms"] = table / runs;
    state.counters["ratio"] = table / bare;
    state.counters["ready_ms"] = ready / runs;
}
BENCHMARK(StartUpFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
