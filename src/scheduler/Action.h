#pragma once

#include <QString>

namespace campanor {

enum class ActionKind {
    StartBackStatic,
    StartFrontStatic,
    StartBackMemory,
    SearchBackSorted,
    SearchFrontSorted,
    SearchBackRandom,
    SearchFrontRandom,
    CloseFrontPlayer,
    StartBackDynamic,
    CloseBackPlayer,
    LineInOn,
    LineInOff,
    MicOn,
    MicOff,
    ShutDown,
    Restart,
    LogOff,
    LaunchProgram,
    EndLaunchedProgram,
    OpenTable,
    Ring,
};

struct Action {
    ActionKind kind = ActionKind::Ring;
    QString parameter;
};

inline constexpr int kMaxParameterLength = 500;

// The action word at the start of the action field, tried in a fixed order
// (the first equal word wins), and the parameter after it, cut at 500
// characters. Any other field is a ring whose parameter is the whole field.
Action recognizeAction(const QString& actionField);

// The action word of a kind ("" for a ring).
QString actionWord(ActionKind kind);

} // namespace campanor
