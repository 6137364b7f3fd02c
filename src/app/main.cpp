#include "Formall.h"
#include "PlanCommand.h"
#include "QtTranslations.h"
#include "SingleInstance.h"
#include "StartUp.h"
#include "SystemServices.h"
#include "TerminationSignals.h"
#include "UnattendedPrompter.h"
#include "Version.h"
#include "common/AsRunLog.h"
#include "common/LogWords.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/ServiceNotify.h"
#include "remote/CommandLineClient.h"
#include "remote/RemoteService.h"

#include <QApplication>
#include <functional>
#include <memory>

using namespace campanor;

namespace {

// Sees a quit asked of the application from outside (the session manager);
// the program itself ends through QCoreApplication::exit, which closes nothing.
class QuitWatch : public QObject {
  public:
    QuitWatch(QApplication& app, std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {
        app.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
            onQuit_();
        return false;
    }

  private:
    std::function<void()> onQuit_;
};

} // namespace

int main(int argc, char* argv[]) {
    useChineseWhereTheSystemHasNoLocale();
    if (const auto status = runPlanCommand(argc, argv))
        return *status;
    // A command for the running instance needs no window of its own.
    if (const std::optional<int> status = runOutsideCommand(argc, argv))
        return *status;
    QApplication app(argc, argv);
    setUpApplication(app);

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
    AsRunLog::write(logword::programStarted() + logword::kColon +
                    QStringLiteral("%1 %2，程序文件夹 %3").arg(kAppTitle, versionText(), folder));
    // Closing the main window ends the event loop too; anything else says why.
    QString endReason = QStringLiteral("主窗口已关闭");
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app,
                     [&endReason](const QString& name) {
                         endReason = QStringLiteral("收到 ") + name;
                         QCoreApplication::exit(0);
                     });

    int code = 0;
    {
        // Ended before the log closes: what they say on the way out is kept.
        SystemServices system;
        Services services = system.services(prompter.get());
        services.exitNow = [&endReason] {
            endReason = QStringLiteral("要求退出");
            QCoreApplication::exit(0);
        };

        Formall window(folder, services);
        window.Form_Load();
        RemoteService remote(window.remoteHost());
        if (const QString why = remote.registerOnSessionBus(); !why.isEmpty())
            AsRunLog::write(QStringLiteral("外部命令不可用：") + why);
        afterFirstPaint(&window, [&window, &system] {
            window.prepareSound();
            system.startAfterFirstPaint();
            serviceNotify::ready();
            window.restoreAtStartUp();
        });
        window.showAtStartUp();
        QObject::connect(&instance, &SingleInstance::raiseRequested, &window,
                         &Formall::bringToFront);
        // The session's end quits the application, which closes every
        // window: nobody is there to answer the exit question then.
        QuitWatch quitWatch(app, [&window, &endReason] {
            endReason = QStringLiteral("会话结束");
            window.sessionEnding();
        });
        QObject::connect(&termination, &TerminationSignals::received, &window,
                         &Formall::sessionEnding);

        code = app.exec();
    }
    serviceNotify::stopping();
    AsRunLog::write(logword::programEnded() + logword::kColon + endReason);
    AsRunLog::close();
    return code;
}
