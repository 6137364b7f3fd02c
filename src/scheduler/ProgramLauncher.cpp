#include "ProgramLauncher.h"

#include "common/AsRunLog.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstring>
#include <glib.h>
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

// Reaps exactly the process behind the pidfd, whatever its number has become;
// true when it was reaped now.
bool reap(int pidfd, int flags) {
    siginfo_t info{};
    return waitid(P_PIDFD, id_t(pidfd), &info, WEXITED | flags) == 0 && info.si_pid != 0;
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

QStringList ProgramLauncher::argumentsOf(const QString& parameter) {
    // A path picked in a file dialog arrives unquoted, spaces, apostrophes and
    // all: when the whole parameter names a program, it is that program.
    const QFileInfo whole(parameter);
    if (whole.isAbsolute() && whole.isFile() && whole.isExecutable())
        return {parameter};
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(parameter.toLocal8Bit().constData(), nullptr, &argv, nullptr))
        return {};
    QStringList arguments;
    for (gchar** arg = argv; *arg; ++arg)
        arguments << QString::fromLocal8Bit(*arg);
    g_strfreev(argv);
    return arguments;
}

void ProgramLauncher::LaunchProgram(const QString& commandLine) {
    const QStringList arguments = argumentsOf(commandLine);
    if (arguments.isEmpty()) {
        reportProblem(QStringLiteral("cannot start a program: the command line cannot be split: ") +
                      commandLine);
        return;
    }
    std::vector<QByteArray> storage;
    std::vector<char*> argv;
    for (const QString& arg : arguments)
        storage.push_back(arg.toLocal8Bit());
    for (QByteArray& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed) {
        reportProblem(QStringLiteral("cannot start a program (%1): %2")
                          .arg(QString::fromLocal8Bit(strerror(failed)), commandLine));
        return;
    }

    // Nothing reaps the child before this: SIGCHLD keeps its default action.
    auto* child = new Child{pid, pidfdOpen(pid), nullptr};
    if (launched_) {
        // The earlier program keeps running; it is only no longer ours to end.
        Child* earlier = launched_;
        launched_ = nullptr;
        release(earlier);
    }
    launched_ = child;
    if (child->pidfd >= 0)
        watch(child);
}

void ProgramLauncher::watch(Child* child) {
    // A pidfd becomes readable when its process exits. The remembered program
    // is left unreaped until it is ended or replaced: while it is a zombie its
    // number, which is also its session and group number, cannot be handed to
    // another process, so ending the group can never hit a stranger.
    child->exited = new QSocketNotifier(child->pidfd, QSocketNotifier::Read, this);
    connect(child->exited, &QSocketNotifier::activated, this, [this, child] {
        child->exited->setEnabled(false);
        child->ended = true;
        if (child != launched_)
            forget(child);
    });
}

void ProgramLauncher::release(Child* child) {
    if (child->pidfd < 0 || child->ended || reap(child->pidfd, WNOHANG)) {
        forget(child);
        return;
    }
    // Still running: reaped and forgotten when it exits.
    if (!child->exited)
        watch(child);
}

void ProgramLauncher::forget(Child* child) {
    if (child->exited) {
        // Off before its descriptor closes; it may be the sender of this call.
        child->exited->setEnabled(false);
        child->exited->deleteLater();
    }
    if (child->pidfd >= 0) {
        reap(child->pidfd, WNOHANG);
        close(child->pidfd);
    }
    if (child == launched_)
        launched_ = nullptr;
    delete child;
}

void ProgramLauncher::EndLaunchedProgram() {
    if (!launched_)
        return;
    Child* child = launched_;
    if (child->pidfd >= 0) {
        // The launched file may be a wrapper that started the real program:
        // the whole group goes. The unreaped leader keeps the group number ours.
        kill(-child->pid, SIGKILL);
        // Killed now, or already gone: either way it is reaped before we forget it.
        reap(child->pidfd, pidfdKill(child->pidfd) == 0 ? 0 : WNOHANG);
    }
    forget(child);
}

} // namespace campanor
