// One cold start, timed from the top of main() to the first frame on the
// screen: Campanor's start-up (CAMPANOR_HOME names a prepared program folder),
// a bare Qt window of the same size ("bare"), or that window showing one line
// of Chinese text ("text"), which is what the first text alone costs. Prints
// "paint_ms ready_ms", ready being the moment the deferred start-up work has
// run too.
#include "app/Formall.h"
#include "app/StartUp.h"
#include "app/SystemServices.h"
#include "app/UnattendedPrompter.h"
#include "common/AsRunLog.h"
#include "common/ProgramFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace campanor;

namespace {

QElapsedTimer sinceStart;
qint64 paintMs = -1;

[[noreturn]] void finish(qint64 readyMs) {
    std::printf("%lld %lld\n", static_cast<long long>(paintMs), static_cast<long long>(readyMs));
    std::fflush(stdout);
    _exit(0);
}

// With CAMPANOR_PROBE_STAGES set, the time each stage of start-up ended.
void stage(const char* name) {
    static const bool wanted = qEnvironmentVariableIsSet("CAMPANOR_PROBE_STAGES");
    if (wanted)
        std::fprintf(stderr, "%s %lld\n", name, static_cast<long long>(sinceStart.elapsed()));
}

// Notes the first frame of the window. Set up after the window's own
// after-first-frame work, it runs before that work (the newest watcher sees
// the paint first), so the frame is timed alone. `alone` ends there.
void timeFirstFrame(QWidget* window, bool alone) {
    afterFirstPaint(
        window,
        [alone] {
            paintMs = sinceStart.elapsed();
            if (alone)
                finish(paintMs);
        },
        60000);
}

} // namespace

int main(int argc, char* argv[]) {
    sinceStart.start();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "text") == 0;
    QApplication app(argc, argv);

    if (bare || text) {
        QMainWindow window;
        window.resize(1180, 700); // Campanor's main window
        if (text)
            window.setCentralWidget(new QLabel(QStringLiteral("下一条指令：08:00:00 第一节 每天")));
        timeFirstFrame(&window, true);
        window.show();
        return app.exec();
    }

    // As main() does it, less the single-instance lock.
    setUpApplication(app);
    stage("setup");
    UnattendedPrompter prompter;
    const QString folder = prepareProgramFolder();
    stage("folder");
    AsRunLog::open(folder);
    AsRunLog::write(QStringLiteral("start-up probe started in ") + folder);
    stage("log");
    SystemServices system;
    Services services = system.services(&prompter);
    services.exitNow = [] { QCoreApplication::exit(0); };

    stage("app");
    Formall window(folder, services);
    stage("window");
    window.Form_Load();
    stage("load");
    afterFirstPaint(&window, [&] {
        window.prepareSound();
        system.startAfterFirstPaint();
        finish(sinceStart.elapsed());
    });
    // For profiling the way to the first frame alone.
    timeFirstFrame(&window, qEnvironmentVariableIsSet("CAMPANOR_PROBE_PAINT_ONLY"));
    window.showAtStartUp();
    stage("shown");
    return app.exec();
}
