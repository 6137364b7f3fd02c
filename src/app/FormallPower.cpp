#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/LogWords.h"
#include "common/Prompter.h"
#include "common/WindowPlacement.h"
#include "scheduler/CountdownWindow.h"

#include <QAction>

namespace campanor {

namespace {

const CountdownWindow::Kind kKinds[] = {
    CountdownWindow::Kind::ShutDown, CountdownWindow::Kind::Restart, CountdownWindow::Kind::LogOff};
const char* const kKindWords[] = {"关机", "重启", "注销"};

// The first-run reset's own value: a wait that cannot be read must still
// leave the operator the time to cancel.
const QString kDefaultWait = QStringLiteral("60");

// The stored prompt text when the countdown can use it, else the same flag
// (the prompt on when the flag is garbled too) with the default wait.
QString usablePrompt(const QString& stored) {
    const QString flag = stored.left(1);
    const bool flagged = flag == QStringLiteral("开") || flag == QStringLiteral("关");
    if (flagged && CountdownWindow::waitSeconds(stored) >= 1)
        return stored;
    return (flagged ? flag : QStringLiteral("开")) + kDefaultWait;
}

} // namespace

void Formall::readPowerPrompts() {
    for (int i = 0; i < 3; ++i) {
        const PowerKind kind = powerKind(i);
        const RecordRead stored = settings_.readChecked(kind.file);
        // Only read here: the file is written when the operator sets a value.
        kind.text = usablePrompt(stored.value);
        if (kind.text != stored.value) {
            const QString found =
                stored.status == ReadStatus::Missing
                    ? QStringLiteral("不存在")
                    : QStringLiteral("中没有可用的提示设置（“%1”）").arg(stored.value);
            AsRunLog::write(
                QStringLiteral("%1 %2，设置之前使用 %3").arg(kind.file, found, kind.text));
        }
        const QString flag = kind.text.left(1);
        kind.on->setChecked(flag == QStringLiteral("开"));
        kind.off->setChecked(flag == QStringLiteral("关"));
        kind.current->setText(QStringLiteral("当前值:") + kind.text.mid(1) + QStringLiteral("秒"));
    }
}

void Formall::powerAction(int kindIndex, const QString& line) {
    const PowerKind kind = powerKind(kindIndex);
    if (kind.off->isChecked()) {
        // Log-off ends the program once the system has taken it on; shutdown
        // and restart leave it running until the system closes it.
        runPowerRoutine(*services_.power, kKinds[kindIndex],
                        powerAnswered(kindIndex, tick_.deferOutcome(line, logword::requested()),
                                      kindIndex == 2));
        return;
    }
    if (CountdownWindow* open = countdowns_[kindIndex]) {
        // Already counting: bring it forward, keep its count. The open
        // countdown's own line tells how it ends.
        open->bringForward();
        tick_.deferOutcome(line, logword::countdownBroughtForward());
        return;
    }
    const TickLoop::Finish finish =
        tick_.deferOutcome(line, logword::countdownOpened(CountdownWindow::waitSeconds(kind.text)));
    auto* window = new CountdownWindow(kKinds[kindIndex], kind.text, *services_.power,
                                       powerAnswered(kindIndex, finish, true));
    connect(window, &CountdownWindow::cancelled, this, [finish] { finish(logword::cancelled()); });
    // Not a child (it must show while the main window is minimised), but it
    // goes with it.
    connect(this, &QObject::destroyed, window, &QObject::deleteLater);
    countdowns_[kindIndex] = window;
    centreOver(window, this);
    window->show();
}

void Formall::cancelCountdowns() {
    // A countdown belongs to no window: left open it would act after the end.
    for (const QPointer<CountdownWindow>& countdown : countdowns_)
        if (countdown)
            countdown->close();
}

Power::Done Formall::powerAnswered(int kindIndex, TickLoop::Finish finish, bool endsProgram) {
    return [self = QPointer<Formall>(this), kindIndex, finish = std::move(finish),
            endsProgram](bool accepted, const QString& why) {
        if (!self)
            return;
        if (accepted) {
            finish(logword::done());
            if (endsProgram && self->services_.exitNow)
                self->services_.exitNow();
            return;
        }
        // Logged and the line marked as any failed instruction; the program
        // goes on, so the rest of the day's schedule still runs.
        finish(logword::failed(why));
        self->services_.prompter->notice(
            self,
            QString::fromUtf8(kKindWords[kindIndex]) +
                QStringLiteral("请求没有被系统接受：%1\n程序继续运行。").arg(why),
            Prompter::Icon::Critical);
    };
}

} // namespace campanor
