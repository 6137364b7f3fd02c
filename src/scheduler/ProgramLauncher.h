#pragma once

#include "common/Processes.h"

#include <QObject>
#include <sys/types.h>

class QSocketNotifier;

namespace campanor {

// Starts programs without a shell, each in a session of its own, and holds a
// pidfd for the one started last, so that ending it can never hit a process
// that has since reused its number. Ending it ends its whole process group.
// Every child is reaped once it has exited and is no longer remembered.
class ProgramLauncher : public QObject, public Processes {
    Q_OBJECT
  public:
    explicit ProgramLauncher(QObject* parent = nullptr);
    ~ProgramLauncher() override;

    QString LaunchProgram(const QString& commandLine) override;
    void EndLaunchedProgram() override;

    // The program and its arguments that a parameter of "执行程序" names:
    // the whole parameter when it is an executable file's path, otherwise the
    // parameter split as a command line. Empty when it cannot be split.
    static QStringList argumentsOf(const QString& parameter);

    // The remembered program's process id, or 0.
    pid_t launchedPid() const { return launched_ ? launched_->pid : 0; }

  private:
    static QString whyNotStarted(int error, const QString& commandLine);

    struct Child {
        pid_t pid = 0;
        int pidfd = -1;
        QSocketNotifier* exited = nullptr;
        bool ended = false;
    };
    void watch(Child* child);
    void release(Child* child);
    void forget(Child* child);

    Child* launched_ = nullptr;
};

} // namespace campanor
