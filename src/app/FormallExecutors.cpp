#include "Formall.h"

#include "ActionFailure.h"
#include "common/LogWords.h"
#include "common/Processes.h"

namespace campanor {

void Formall::startBackStatic(const QString& playlist) {
    StartBackStatic(playlist);
}
void Formall::startBackMemory(const QString& playlist) {
    StartBackMemory(playlist);
}
void Formall::startBackDynamic(const QString& playlist) {
    StartBackDynamic(playlist);
}
void Formall::startFrontStatic(const QString& playlist) {
    StartFrontStatic(playlist);
}
void Formall::playSearchFolder(ActionKind kind, const QString& folder, const QString& line) {
    PlaySearchFolder(kind, folder, line);
}
// A folder still being read would start the player after it was closed.
void Formall::closeFrontPlayer() {
    giveUpFolderWalk(true, logword::cancelled(QStringLiteral("播音器先被关闭了")));
    CloseFrontPlayer();
}
void Formall::closeBackPlayer() {
    giveUpFolderWalk(false, logword::cancelled(QStringLiteral("播音器先被关闭了")));
    CloseBackPlayer();
}

void Formall::ring(const QString& path, const QString& line) {
    ringLine_.clear();
    DueRingPath = path;
    Command8_Click();
    ringLine_ = line;
}

void Formall::openTable(const QString& path) {
    OpenTableByInstruction(path);
}

void Formall::lineIn(bool on) {
    on ? LineInOn() : LineInOff();
    lineInState_ = on;
}
void Formall::mic(bool on) {
    on ? MicOn() : MicOff();
    micState_ = on;
}

void Formall::power(ActionKind kind, const QString& line) {
    powerAction(kind == ActionKind::ShutDown ? 0 : kind == ActionKind::Restart ? 1 : 2, line);
}

void Formall::launchProgram(const QString& commandLine) {
    if (const QString why = services_.processes->LaunchProgram(commandLine); !why.isEmpty())
        failAction(why);
}
void Formall::endLaunchedProgram() {
    services_.processes->EndLaunchedProgram();
}

} // namespace campanor
