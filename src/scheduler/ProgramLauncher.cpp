#include "ProgramLauncher.h"

#include "CommandLine.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
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
    const std::optional<QByteArrayList> words = splitCommandLine(parameter);
    if (!words)
        return {};
    QStringList arguments;
    for (const QByteArray& word : *words)
        arguments << QString::fromLocal8Bit(word);
    return arguments;
}

QString ProgramLauncher::whyNotStarted(int error, const QString& commandLine) {
    const QString detail = QStringLiteral("（%1）：").arg(QString::fromLocal8Bit(strerror(error)));
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("找不到程序") + detail + commandLine;
    case EACCES:
    case EPERM:
        return QStringLiteral("程序不能执行，没有执行权限") + detail + commandLine;
    case ENOEXEC:
        return QStringLiteral("不是可执行的程序") + detail + commandLine;
    default:
        return QStringLiteral("无法启动程序") + detail + commandLine;
    }
}

QString ProgramLauncher::LaunchProgram(const QString& commandLine) {
    const QStringList arguments = argumentsOf(commandLine);
    if (arguments.isEmpty())
        return QStringLiteral("命令行无法拆分（为空或引号不成对）：") + commandLine;
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
    // The program gets standard input, output and error and nothing else:
    // whatever else is open here (sockets, the lock file, pipes of the
    // libraries) is ours, and must not outlive us in a stranger's process.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    pid_t pid = 0;
    // The exec runs before this returns, so a program that cannot run is
    // known here with its reason.
    const int failed = posix_spawnp(&pid, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (failed)
        return whyNotStarted(failed, commandLine);

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
    return {};
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
