#include "fixtures/ProgramEnvironment.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QDir>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

QString logText(const TempFolder& home) {
    return campanor::test::asRunLogText(home.path());
}

class ProgramLifeLog : public ::testing::Test {
  protected:
    void SetUp() override {
        binary = qEnvironmentVariable("CAMPANOR_BINARY");
        if (binary.isEmpty() || !QFile::exists(binary))
            GTEST_SKIP() << "program not built";
        QProcessEnvironment env = campanor::test::programEnvironment(home.path(), runtime.path());
        // No timedated here: the warning is logged, the program runs on.
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime.path() + "/no-bus");
        program.setProcessEnvironment(env);
    }
    void startAndWaitForTheLog() {
        program.start(binary, {});
        ASSERT_TRUE(program.waitForStarted(5000));
        ASSERT_TRUE(waitUntil(
            [&] { return logText(home).contains(QStringLiteral("时钟同步：未知")); }, 20000))
            << logText(home).toStdString();
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    QString binary;
    TempFolder home, runtime;
    QProcess program;
};

} // namespace

TEST_F(ProgramLifeLog, StartAndEndOnTheSystemsRequestAreLogged) {
    startAndWaitForTheLog();
    EXPECT_TRUE(logText(home).contains(QStringLiteral("程序启动：Campanor 7.2.363，程序文件夹 ") +
                                       home.path()));
    // What the system sends at shutdown or when the session ends.
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QStringList lines = logText(home).trimmed().split(u'\n');
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("程序退出：收到 SIGTERM")))
        << lines.join(u'\n').toStdString();
}

TEST_F(ProgramLifeLog, EndOfTheSessionIsLoggedToo) {
    startAndWaitForTheLog();
    ::kill(program.processId(), SIGHUP);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(logText(home).trimmed().endsWith(QStringLiteral("程序退出：收到 SIGHUP")));
}
