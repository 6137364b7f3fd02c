#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/Clock.h"
#include "common/LogWords.h"
#include "players/MediaControl.h"
#include "remote/OutsideAction.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <stdexcept>

namespace campanor {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString switchState(int state) {
    return state < 0 ? QStringLiteral("unknown")
           : state   ? QStringLiteral("on")
                     : QStringLiteral("off");
}

void addPlayer(QVariantMap& status, const QString& name, const PlayerWindow* player) {
    const MediaControl* media = player ? player->MediaPlayer1 : nullptr;
    status[name + QStringLiteral("List")] = player ? player->PLFFile : QString();
    status[name + QStringLiteral("Track")] = media ? media->fileName() : QString();
    status[name + QStringLiteral("Position")] =
        media && !media->fileName().isEmpty() ? media->currentPosition() : 0.0;
    status[name + QStringLiteral("Playing")] = media && media->playState() == MediaControl::Playing;
}

// The actions that open a sound file and may fade a player.
bool startsSound(ActionKind kind) {
    switch (kind) {
    case ActionKind::StartBackStatic:
    case ActionKind::StartFrontStatic:
    case ActionKind::StartBackMemory:
    case ActionKind::StartBackDynamic:
    case ActionKind::SearchBackSorted:
    case ActionKind::SearchFrontSorted:
    case ActionKind::SearchBackRandom:
    case ActionKind::SearchFrontRandom:
    case ActionKind::CloseFrontPlayer:
    case ActionKind::CloseBackPlayer:
    case ActionKind::Ring:
        return true;
    default:
        return false;
    }
}

} // namespace

QVariantMap Formall::remoteStatus() {
    QVariantMap status;
    status[QStringLiteral("internalClock")] = clock_.second().toString(kTimeFormat);
    status[QStringLiteral("systemClock")] = services_.clock->now().toString(kTimeFormat);
    status[QStringLiteral("table")] = CurrentTablePath;
    status[QStringLiteral("instructions")] = table_.count();
    status[QStringLiteral("nextInstruction")] = NextInstruction->text();
    status[QStringLiteral("tomorrow")] =
        TomorrowLine->isHidden() ? QString() : TomorrowLine->text();
    addPlayer(status, QStringLiteral("back"), FromPlayer);
    addPlayer(status, QStringLiteral("front"), ReportPlayer);
    status[QStringLiteral("lineIn")] = switchState(lineInState_);
    status[QStringLiteral("microphone")] = switchState(micState_);
    status[QStringLiteral("clockHealth")] =
        ClockHealthLabel->isHidden() ? QStringLiteral("ok") : ClockHealthLabel->text();
    status[QStringLiteral("emergency")] = emergency_.on();
    status[QStringLiteral("emergencySince")] =
        emergency_.on() ? emergency_.since().toString(kTimeFormat) : QString();
    status[QStringLiteral("emergencyList")] = emergency_.playlist();
    status[QStringLiteral("tableFileRefused")] = tableRefused_;
    return status;
}

QString Formall::remoteRun(const QString& actionField) {
    const OutsideAction checked = checkOutsideAction(actionField, DefaultRingPath);
    QString why = checked.refusal;
    if (why.isEmpty() && emergency_.on())
        why = QStringLiteral("紧急广播中，不执行其他动作");
    if (why.isEmpty() && tick_.inTick())
        why = QStringLiteral("正在执行一条指令，请稍后再试");
    if (!why.isEmpty()) {
        AsRunLog::instruction(clock_.second(), services_.clock->now(), actionField,
                              logword::fromOutside(logword::refused(why)));
        return why;
    }
    if (!startsSound(checked.action.kind))
        return runFromOutside(checked.action, actionField);
    // Answered before the player opens its file and fades: how the start
    // went is in the as-run log and the instruction signal.
    QTimer::singleShot(0, this, [this, action = checked.action, actionField] {
        runFromOutside(action, actionField);
    });
    return {};
}

QString Formall::runFromOutside(const Action& action, const QString& actionField) {
    const QDateTime started = services_.clock->now();
    QString why;
    try {
        dispatcher_.run(action, actionField);
    } catch (const std::exception& failure) {
        why = QString::fromStdString(failure.what());
    }
    AsRunLog::instruction(
        clock_.second(), started, actionField,
        logword::fromOutside(why.isEmpty() ? logword::done() : logword::failed(why)));
    refreshNextInstruction();
    return why;
}

QString Formall::remoteOpenTable(const QString& path) {
    return remoteRun(actionWord(ActionKind::OpenTable) + path);
}

QString Formall::remoteEmergency(bool on, const QString& playlist) {
    if (!on)
        return endEmergency();
    if (!playlist.isEmpty() && !QFileInfo(playlist).isFile())
        return QStringLiteral("曲目表文件不存在：") + playlist;
    return startEmergency(playlist);
}

} // namespace campanor
