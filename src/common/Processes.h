#pragma once

#include <QString>

namespace campanor {

// Starts a program and ends the one started last.
class Processes {
  public:
    virtual ~Processes() = default;
    // Empty when the program was started; otherwise why it was not, in words
    // an operator reads in the as-run log.
    virtual QString LaunchProgram(const QString& commandLine) = 0;
    virtual void EndLaunchedProgram() = 0;
};

} // namespace campanor
