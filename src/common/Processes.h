#pragma once

#include <QString>

namespace campanor {

// Starts a program and ends the one started last. Failures are silent.
class Processes {
  public:
    virtual ~Processes() = default;
    virtual void LaunchProgram(const QString& commandLine) = 0;
    virtual void EndLaunchedProgram() = 0;
};

} // namespace campanor
