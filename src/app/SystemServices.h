#pragma once

#include "Services.h"
#include "common/AutoStart.h"
#include "common/Clock.h"
#include "common/FileDialogs.h"
#include "scheduler/LogindPower.h"
#include "scheduler/ProgramLauncher.h"

namespace campanor {

// The real platform seams of a running program, owned in one place so that
// the program and the start-up benchmark start on the same ones.
class SystemServices {
  public:
    // The services over these seams; the exit and the clock health are the caller's.
    Services services(Prompter* prompter) {
        Services s;
        s.prompter = prompter;
        s.dialogs = &dialogs_;
        s.clock = &clock_;
        s.autoStart = &autoStart_;
        s.power = &power_;
        s.processes = &processes_;
        return s;
    }

  private:
    QtFileDialogs dialogs_;
    SystemClock clock_;
    XdgAutoStart autoStart_;
    LogindPower power_;
    ProgramLauncher processes_;
};

} // namespace campanor
