#include "ProgramLauncher.h"

#include "CommandLine.h"

#include <QSocketNotifier>
#include <csignal>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace campanor {

namespace {

int pidfdOpen(pid_t pid) {
    return int(syscall(SYS_pidfd_open, pid, 0));
}

int pidfdKill(int pidfd) {
    return int(syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0));
}

#ifndef P_PIDFD
#define P_PIDFD idtype_t(3)
#endif

// Reaps exactly the process behind the pidfd, whatever its number has become.
void reap(int pidfd, int flags) {
    siginfo_t info{};
    waitid(P_PIDFD, id_t(pidfd), &info, WEXITED | flags);
}

} // namespace

ProgramLauncher::ProgramLauncher(QObject* parent) : QObject(parent) {}

ProgramLauncher::~ProgramLauncher() {
    // Started programs outlive the scheduler; only our handles go.
    if (launched_)
        forget(launched_);
    for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>())
        notifier->setEnabled(false);
}

void ProgramLauncher::LaunchProgram(const QString& commandLine) {
    const std::optional<QByteArrayList> words = splitCommandLine(commandLine);
    if (!words)
        return;
    std::vector<char*> argv;
    for (const QByteArray& word : *words)
        argv.push_back(const_cast<char*>(word.constData()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed)
        return;

    // Nothing reaps the child before this: SIGCHLD keeps its default action.
    auto* child = new Child{pid, pidfdOpen(pid), nullptr};
    if (launched_) {
        // The earlier program keeps running; it is only no longer ours to end.
        Child* earlier = launched_;
        launched_ = nullptr;
        if (earlier->pidfd < 0)
            delete earlier;
        else
            watch(earlier);
    }
    launched_ = child;
    if (child->pidfd >= 0)
        watch(child);
}

void ProgramLauncher::watch(Child* child) {
    if (child->exited)
        return;
    // A pidfd becomes readable when its process exits: reap it then, so that
    // no zombie is left behind, but keep the pidfd while it is remembered.
    child->exited = new QSocketNotifier(child->pidfd, QSocketNotifier::Read, this);
    connect(child->exited, &QSocketNotifier::activated, this, [this, child] {
        child->exited->setEnabled(false);
        reap(child->pidfd, WNOHANG);
        if (child != launched_)
            forget(child);
    });
}

void ProgramLauncher::forget(Child* child) {
    if (child->exited) {
        // Off before its descriptor closes; it may be the sender of this call.
        child->exited->setEnabled(false);
        child->exited->deleteLater();
    }
    if (child->pidfd >= 0)
        close(child->pidfd);
    if (child == launched_)
        launched_ = nullptr;
    delete child;
}

void ProgramLauncher::EndLaunchedProgram() {
    if (!launched_)
        return;
    Child* child = launched_;
    if (child->pidfd >= 0) {
        // Killed now, or already gone: either way it is reaped before we forget it.
        reap(child->pidfd, pidfdKill(child->pidfd) == 0 ? 0 : WNOHANG);
    }
    forget(child);
}

} // namespace campanor
