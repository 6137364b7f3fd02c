#pragma once

#include "common/Processes.h"

#include <QObject>
#include <sys/types.h>

class QSocketNotifier;

namespace campanor {

// Starts programs without a shell, each in a session of its own, and holds a
// pidfd for the one started last, so that ending it can never hit a process
// that has since reused its number. Every child is reaped when it exits.
class ProgramLauncher : public QObject, public Processes {
    Q_OBJECT
  public:
    explicit ProgramLauncher(QObject* parent = nullptr);
    ~ProgramLauncher() override;

    void LaunchProgram(const QString& commandLine) override;
    void EndLaunchedProgram() override;

    // The remembered program's process id, or 0.
    pid_t launchedPid() const { return launched_ ? launched_->pid : 0; }

  private:
    struct Child {
        pid_t pid = 0;
        int pidfd = -1;
        QSocketNotifier* exited = nullptr;
    };
    void watch(Child* child);
    void forget(Child* child);

    Child* launched_ = nullptr;
};

} // namespace campanor
