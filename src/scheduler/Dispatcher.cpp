#include "Dispatcher.h"

#include "table/InstructionLine.h"

namespace campanor {

void Dispatcher::dispatch(const QString& line) {
    run(recognizeAction(actionFieldOf(line)), line);
}

void Dispatcher::run(const Action& action, const QString& line) {
    ActionExecutors& x = executors_;
    switch (action.kind) {
    case ActionKind::StartBackStatic:
        return x.startBackStatic(action.parameter);
    case ActionKind::StartBackMemory:
        return x.startBackMemory(action.parameter);
    case ActionKind::StartBackDynamic:
        return x.startBackDynamic(action.parameter);
    case ActionKind::StartFrontStatic:
        return x.startFrontStatic(action.parameter);
    case ActionKind::SearchBackSorted:
    case ActionKind::SearchFrontSorted:
    case ActionKind::SearchBackRandom:
    case ActionKind::SearchFrontRandom:
        return x.playSearchFolder(action.kind, action.parameter, line);
    case ActionKind::CloseFrontPlayer:
        return x.closeFrontPlayer();
    case ActionKind::CloseBackPlayer:
        return x.closeBackPlayer();
    case ActionKind::Ring:
        return x.ring(action.parameter, line);
    case ActionKind::OpenTable:
        return x.openTable(action.parameter);
    case ActionKind::LineInOn:
        return x.lineIn(true);
    case ActionKind::LineInOff:
        return x.lineIn(false);
    case ActionKind::MicOn:
        return x.mic(true);
    case ActionKind::MicOff:
        return x.mic(false);
    case ActionKind::ShutDown:
    case ActionKind::Restart:
    case ActionKind::LogOff:
        return x.power(action.kind, line);
    case ActionKind::LaunchProgram:
        return x.launchProgram(action.parameter);
    case ActionKind::EndLaunchedProgram:
        return x.endLaunchedProgram();
    }
}

} // namespace campanor
