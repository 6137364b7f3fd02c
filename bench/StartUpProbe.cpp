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
#include "common/ProgramFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace campanor;

namespace {

QElapsedTimer sinceStart;
qint64 paintMs = -1;

// Notes when the first frame of any window has been painted and flushed.
class FrameWatch : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && paintMs < 0 && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            paintMs = 0;
            QTimer::singleShot(0, [] { paintMs = sinceStart.elapsed(); });
        }
        return false;
    }
};

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

void whenPainted(const std::function<void()>& then) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, then] {
        if (paintMs > 0) {
            poll->stop();
            then();
        }
    });
    poll->start(1);
}

} // namespace

int main(int argc, char* argv[]) {
    sinceStart.start();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "text") == 0;
    QApplication app(argc, argv);
    FrameWatch watch;
    app.installEventFilter(&watch);

    if (bare || text) {
        QMainWindow window;
        window.resize(1180, 700); // Campanor's main window
        if (text)
            window.setCentralWidget(new QLabel(QStringLiteral("下一条指令：08:00:00 第一节 每天")));
        window.show();
        whenPainted([] { finish(paintMs); });
        return app.exec();
    }

    // As main() does it, less the single-instance lock.
    setUpApplication(app);
    UnattendedPrompter prompter;
    SystemServices system;
    Services services = system.services(&prompter);
    services.exitNow = [] { QCoreApplication::exit(0); };

    stage("app");
    Formall window(prepareProgramFolder(), services);
    stage("window");
    window.Form_Load();
    stage("load");
    bool warmedUp = false;
    afterFirstPaint(&window, [&] {
        window.prepareSound();
        warmedUp = true;
    });
    window.showAtStartUp();
    stage("shown");
    whenPainted([&] {
        // For profiling the way to the first frame alone.
        if (qEnvironmentVariableIsSet("CAMPANOR_PROBE_PAINT_ONLY"))
            finish(paintMs);
        auto* ready = new QTimer;
        QObject::connect(ready, &QTimer::timeout, [&] {
            if (warmedUp)
                finish(sinceStart.elapsed());
        });
        ready->start(1);
    });
    return app.exec();
}
