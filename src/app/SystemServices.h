#pragma once

#include "Services.h"
#include "common/AsRunLog.h"
#include "common/AutoStart.h"
#include "common/Clock.h"
#include "common/FileDialogs.h"
#include "scheduler/ClockHealth.h"
#include "scheduler/LogindPower.h"
#include "scheduler/ProgramLauncher.h"

namespace campanor {

// The real platform seams of a running program, owned in one place so that
// the program and the start-up benchmark start on the same ones.
class SystemServices {
  public:
    SystemServices() {
        QObject::connect(&clockHealth_, &ClockHealth::stateChanged, [](ClockHealth::State state) {
            AsRunLog::write(QStringLiteral("时钟同步：") + clockHealthLogText(state));
        });
    }

    // The services over these seams; the exit is the caller's.
    Services services(Prompter* prompter) {
        Services s;
        s.prompter = prompter;
        s.dialogs = &dialogs_;
        s.clock = &clock_;
        s.autoStart = &autoStart_;
        s.power = &power_;
        s.processes = &processes_;
        s.clockHealth = &clockHealth_;
        return s;
    }

    // What waits for the window's first frame: the first question to timedated.
    void startAfterFirstPaint() { clockHealth_.start(); }

  private:
    QtFileDialogs dialogs_;
    SystemClock clock_;
    XdgAutoStart autoStart_;
    LogindPower power_;
    ProgramLauncher processes_;
    ClockHealth clockHealth_;
};

} // namespace campanor
