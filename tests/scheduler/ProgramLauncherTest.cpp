#include "scheduler/ProgramLauncher.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"
#include "scheduler/CommandLine.h"

#include <QDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace campanor;
using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

bool alive(pid_t pid) {
    return pid > 0 && kill(pid, 0) == 0;
}

// A process that has exited but was not reaped still answers kill(0): look
// at its state instead.
char stateOf(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && close + 2 < text.size() ? text[close + 2] : 0;
}

} // namespace

TEST(ProgramLauncher, LaunchesEndsWithSigkillAndReaps) {
    ProgramLauncher launcher;
    launcher.LaunchProgram("sleep 30");
    const pid_t pid = launcher.launchedPid();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(alive(pid));
    // A session of its own.
    EXPECT_EQ(getsid(pid), pid);
    launcher.EndLaunchedProgram();
    EXPECT_EQ(launcher.launchedPid(), 0);
    EXPECT_EQ(stateOf(pid), 0) << "killed and reaped";
    // Nothing remembered: a second end does nothing.
    launcher.EndLaunchedProgram();
}

TEST(ProgramLauncher, ASecondLaunchReplacesTheFirstWhichKeepsRunning) {
    ProgramLauncher launcher;
    launcher.LaunchProgram("sleep 30");
    const pid_t first = launcher.launchedPid();
    launcher.LaunchProgram("sleep 31");
    const pid_t second = launcher.launchedPid();
    ASSERT_NE(first, second);
    launcher.EndLaunchedProgram();
    EXPECT_EQ(stateOf(second), 0);
    EXPECT_TRUE(alive(first));
    kill(first, SIGKILL);
    // The launcher reaps the earlier program when it exits.
    EXPECT_TRUE(waitUntil([&] { return stateOf(first) == 0; }));
}

TEST(ProgramLauncher, QuotingWithoutAShell) {
    TempFolder dir;
    ProgramLauncher launcher;
    const QString out = dir.file("args.txt");
    launcher.LaunchProgram(QStringLiteral("/bin/sh -c 'printf \"%s|\" \"$@\" > \"%1\"' sh \"a b\" "
                                          "'$HOME' *")
                               .arg(out));
    ASSERT_TRUE(waitUntil([&] { return QFile(out).size() > 0; }));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // "a b" stays one argument; $HOME and * reach the program as typed.
    EXPECT_EQ(file.readAll(), QByteArray("a b|$HOME|*|"));
}

TEST(ProgramLauncher, NothingHappensForAMissingProgramOrAnEndedOne) {
    ProgramLauncher launcher;
    launcher.LaunchProgram("/no/such/program --flag");
    EXPECT_EQ(launcher.launchedPid(), 0);
    launcher.LaunchProgram("unbalanced 'quote");
    EXPECT_EQ(launcher.launchedPid(), 0);
    launcher.LaunchProgram("");
    EXPECT_EQ(launcher.launchedPid(), 0);

    launcher.LaunchProgram("true");
    const pid_t pid = launcher.launchedPid();
    ASSERT_GT(pid, 0);
    // Ended by itself it stays remembered, held unreaped so that its number
    // cannot be reused, and is reaped when it is ended.
    EXPECT_TRUE(waitUntil([&] { return stateOf(pid) == 'Z'; }));
    EXPECT_EQ(launcher.launchedPid(), pid);
    launcher.EndLaunchedProgram();
    EXPECT_EQ(launcher.launchedPid(), 0);
    EXPECT_EQ(stateOf(pid), 0);

    // Or when a later launch replaces it.
    launcher.LaunchProgram("true");
    const pid_t first = launcher.launchedPid();
    EXPECT_TRUE(waitUntil([&] { return stateOf(first) == 'Z'; }));
    launcher.LaunchProgram("sleep 30");
    EXPECT_EQ(stateOf(first), 0);
    launcher.EndLaunchedProgram();
}

namespace {

// Writes an executable script into the folder.
QString script(const TempFolder& dir, const QString& name, const QByteArray& body) {
    dir.write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(dir.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir.file(name);
}

qint64 pidIn(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
}

// Gone, or a zombie waiting for whoever reaps orphans here.
bool ended(pid_t pid) {
    const char state = stateOf(pid);
    return state == 0 || state == 'Z';
}

} // namespace

TEST(ProgramLauncher, APathWithASpaceOrAnApostropheRunsAsOneProgram) {
    TempFolder dir;
    for (const QString& folder : {QStringLiteral("My Bells"), QStringLiteral("O'Brien")}) {
        const QString program =
            script(dir, folder + "/run.sh", "echo \"ran $#\" > \"$(dirname \"$0\")/out.txt\"\n");
        EXPECT_EQ(ProgramLauncher::argumentsOf(program), QStringList{program});
        ProgramLauncher launcher;
        launcher.LaunchProgram(program);
        ASSERT_GT(launcher.launchedPid(), 0) << folder.toStdString();
        ASSERT_TRUE(waitUntil([&] { return dir.bytes(folder + "/out.txt") == "ran 0\n"; }));
    }
    // A path with arguments after it is a command line, quoted as a shell would.
    const QString quoted = "'" + dir.file("My Bells/run.sh") + "' one two";
    EXPECT_EQ(ProgramLauncher::argumentsOf(quoted),
              (QStringList{dir.file("My Bells/run.sh"), "one", "two"}));
    ProgramLauncher launcher;
    launcher.LaunchProgram(quoted);
    EXPECT_TRUE(waitUntil([&] { return dir.bytes("My Bells/out.txt") == "ran 2\n"; }));
    // A file that is there but cannot run is not taken whole.
    dir.write("notes.txt", "plain");
    EXPECT_EQ(ProgramLauncher::argumentsOf(dir.file("notes.txt")),
              QStringList{dir.file("notes.txt")});
    EXPECT_EQ(ProgramLauncher::argumentsOf("relative name"), (QStringList{"relative", "name"}));
}

TEST(ProgramLauncher, AProgramThatCannotStartSaysWhy) {
    TempFolder dir;
    const QString missing = dir.file("My Bells/none.sh");
    dir.write("notes.txt", "plain");
    ProgramLauncher launcher;
    EXPECT_EQ(launcher.LaunchProgram(missing),
              QStringLiteral("找不到程序（No such file or directory）：") + missing);
    EXPECT_EQ(launcher.LaunchProgram(dir.file("notes.txt")),
              QStringLiteral("程序不能执行，没有执行权限（Permission denied）：") +
                  dir.file("notes.txt"));
    EXPECT_EQ(launcher.LaunchProgram("unbalanced 'quote"),
              QStringLiteral("命令行无法拆分（为空或引号不成对）：unbalanced 'quote"));
    EXPECT_EQ(launcher.launchedPid(), 0);
    EXPECT_EQ(launcher.LaunchProgram("true"), QString());
    EXPECT_GT(launcher.launchedPid(), 0);
    launcher.EndLaunchedProgram();
}

namespace {

QStringList openDescriptors(pid_t pid) {
    QStringList names = QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ProgramLauncher, AProgramGetsOnlyTheStandardStreams) {
    // Descriptors of ours that a careless exec would hand on: a socket and a file.
    int sockets[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
    const int file = open("/dev/null", O_RDONLY);
    ASSERT_GE(file, 0);
    ProgramLauncher launcher;
    ASSERT_EQ(launcher.LaunchProgram("sleep 30"), QString());
    const pid_t pid = launcher.launchedPid();
    // What the program opens itself while it starts is gone in a moment; what
    // it inherited stays.
    EXPECT_TRUE(waitUntil([&] {
        return openDescriptors(pid) == QStringList{"0", "1", "2"};
    })) << openDescriptors(pid).join(' ').toStdString();
    launcher.EndLaunchedProgram();
    close(sockets[0]);
    close(sockets[1]);
    close(file);
}

TEST(ProgramLauncher, EndingAWrapperEndsTheProgramItStarted) {
    TempFolder dir;
    // One wrapper waits for its child, the other has already exited when the
    // end comes: the real program must go in both cases.
    for (const char* tail : {"wait\n", "exit 0\n"}) {
        const QString wrapper =
            script(dir, "wrapper.sh",
                   QByteArray("sleep 300 &\necho $! > \"$(dirname \"$0\")/child.pid\"\n") + tail);
        QFile::remove(dir.file("child.pid"));
        ProgramLauncher launcher;
        launcher.LaunchProgram(wrapper);
        const pid_t leader = launcher.launchedPid();
        ASSERT_GT(leader, 0);
        ASSERT_TRUE(waitUntil([&] { return pidIn(dir.file("child.pid")) > 0; }));
        const pid_t child = pid_t(pidIn(dir.file("child.pid")));
        EXPECT_EQ(getpgid(child), leader) << "the child is in the program's group";
        if (QByteArray(tail) == "exit 0\n") {
            ASSERT_TRUE(waitUntil([&] { return stateOf(leader) == 'Z'; }))
                << "a remembered program that ended is held until it is ended";
        }
        launcher.EndLaunchedProgram();
        EXPECT_EQ(stateOf(leader), 0) << "reaped";
        EXPECT_TRUE(waitUntil([&] { return ended(child); })) << tail;
    }
}

TEST(ProgramLauncher, CommandLinesThatNameNoProgramAreRefused) {
    EXPECT_EQ(splitCommandLine(QStringLiteral("/opt/广播/开始.sh '第 1 节' x\\ y")),
              (QByteArrayList{"/opt/广播/开始.sh", "第 1 节", "x y"}));
    for (const QString& line : {QString(), QStringLiteral("   "), QStringLiteral("\"/bin/true"),
                                QStringLiteral("''"), QString::fromUtf8("/bin/true\0-rf", 13)})
        EXPECT_FALSE(splitCommandLine(line)) << line.toStdString();
    ProgramLauncher launcher;
    launcher.LaunchProgram(QStringLiteral("''"));
    EXPECT_EQ(launcher.launchedPid(), 0);
}
