#include "media/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace campanor;

namespace {

// 50 folders with 29 subfolders each: 1,500 folders of 20 files, 30,000 files
// in all, a tenth of them not sound files.
const QTemporaryDir& tree() {
    static QTemporaryDir dir;
    static bool built = false;
    if (!built) {
        built = true;
        const char* kinds[] = {"mp3", "WAV", "wma", "Mid", "txt"};
        for (int top = 0; top < 50; ++top) {
            const QString topFolder = dir.filePath(QStringLiteral("Term %1").arg(top));
            for (int sub = 0; sub < 30; ++sub) {
                const QString folder =
                    sub == 0 ? topFolder : topFolder + QStringLiteral("/Week %1").arg(sub);
                QDir().mkpath(folder);
                for (int n = 0; n < 20; ++n) {
                    const QString name = QStringLiteral("%1/Track %2.%3")
                                             .arg(folder)
                                             .arg(n)
                                             .arg(QLatin1String(kinds[n % 10 == 9 ? 4 : n % 4]));
                    QFile(name).open(QIODevice::WriteOnly);
                }
            }
        }
    }
    return dir;
}

// find over the same tree, its output thrown away: the time of the fastest
// plain walk the system itself offers, start-up of the process included.
double runFind(const QByteArray& root) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"find", root.constData(), "-type", "f", nullptr};
    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "find", &actions, nullptr, const_cast<char**>(argv), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

void FindSameTree(benchmark::State& state) {
    const QByteArray root = QFile::encodeName(tree().path());
    for (auto _ : state)
        state.SetIterationTime(runFind(root));
}
BENCHMARK(FindSameTree)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The search folder walk of a scheduled folder action. The counter
// walk_over_find compares it with find timed in the same run.
void FolderWalk30000Files(benchmark::State& state) {
    const QString root = tree().path();
    const QByteArray rootBytes = QFile::encodeName(root);
    runFind(rootBytes); // the tree is in the page cache for both
    qsizetype files = 0;
    double walked = 0;
    double found = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const auto result = FolderWalk::walk(root);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.SetIterationTime(seconds);
        walked += seconds;
        found += runFind(rootBytes);
        files = result ? result->files.size() : -1;
        benchmark::DoNotOptimize(files);
    }
    state.counters["files"] = double(files);
    state.counters["find_ms"] = 1000 * found / double(state.iterations());
    state.counters["walk_over_find"] = walked / found;
}
BENCHMARK(FolderWalk30000Files)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
