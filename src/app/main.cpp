#include "Formall.h"
#include "SingleInstance.h"
#include "StartUp.h"
#include "UnattendedPrompter.h"
#include "Version.h"
#include "common/AsRunLog.h"
#include "common/AutoStart.h"
#include "common/Clock.h"
#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "players/MediaPlayer.h"
#include "scheduler/LogindPower.h"
#include "scheduler/ProgramLauncher.h"

#include <QApplication>
#include <QIcon>
#include <memory>

using namespace campanor;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationVersion(versionText());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/campanor.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("campanor"));

    std::unique_ptr<Prompter> prompter;
    if (qEnvironmentVariableIntValue("CAMPANOR_UNATTENDED"))
        prompter = std::make_unique<UnattendedPrompter>();
    else
        prompter = std::make_unique<QtPrompter>();

    // A second start touches nothing: it only hands over to the running one.
    SingleInstance instance;
    if (!instance.acquire()) {
        prompter->message(nullptr,
                          kAppTitle + QStringLiteral("(版本 ") + versionText() +
                              QStringLiteral(")已运行！"),
                          Prompter::Icon::Information, Prompter::Buttons::Ok);
        instance.askRunningToRaise();
        return 0;
    }

    const QString folder = prepareProgramFolder();
    AsRunLog::open(folder);

    QtFileDialogs dialogs;
    SystemClock clock;
    XdgAutoStart autoStart;
    LogindPower power;
    ProgramLauncher processes;
    Services services;
    services.prompter = prompter.get();
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.autoStart = &autoStart;
    services.power = &power;
    services.processes = &processes;
    services.exitNow = [] { QCoreApplication::exit(0); };

    Formall window(folder, services);
    window.Form_Load();
    // The sound system's start and warm-up take a good part of a second on a
    // busy machine: the window is painted first, then the ring player is made
    // and the ring's decoders loaded, so that the first scheduled ring starts
    // at once.
    afterFirstPaint(&window, [&window] {
        window.ringPlayer();
        MediaPlayer::warmUp(window.DefaultRingPath);
    });
    window.showAtStartUp();
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });

    return app.exec();
}
