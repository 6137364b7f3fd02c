#include "scheduler/ProgramLauncher.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"
#include "scheduler/CommandLine.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

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
    // Reaped when it ends by itself, yet still remembered until ended.
    EXPECT_TRUE(waitUntil([&] { return stateOf(pid) == 0; }));
    EXPECT_EQ(launcher.launchedPid(), pid);
    launcher.EndLaunchedProgram();
    EXPECT_EQ(launcher.launchedPid(), 0);
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
