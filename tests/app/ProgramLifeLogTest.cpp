#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QDir>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

// Every line of every day file, oldest day first.
QString logText(const TempFolder& home) {
    const QDir log(home.file("Log"));
    QString text;
    for (const QString& name : log.entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name)) {
        QFile file(log.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(file.readAll());
    }
    return text;
}

class ProgramLifeLog : public ::testing::Test {
  protected:
    void SetUp() override {
        binary = qEnvironmentVariable("CAMPANOR_BINARY");
        if (binary.isEmpty() || !QFile::exists(binary))
            GTEST_SKIP() << "program not built";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CAMPANOR_HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CONFIG_HOME", runtime.path() + "/config");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("CAMPANOR_UNATTENDED", "1");
        // No timedated here: the warning is logged, the program runs on.
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime.path() + "/no-bus");
        program.setProcessEnvironment(env);
    }
    void startAndWaitForTheLog() {
        program.start(binary, {});
        ASSERT_TRUE(program.waitForStarted(5000));
        ASSERT_TRUE(waitUntil(
            [&] { return logText(home).contains(QStringLiteral("clock health: unknown")); }, 20000))
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
    EXPECT_TRUE(logText(home).contains(QStringLiteral("program started: Campanor 7.2.363 in ") +
                                       home.path()));
    // What the system sends at shutdown or when the session ends.
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QStringList lines = logText(home).trimmed().split(u'\n');
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("program ended: SIGTERM received")))
        << lines.join(u'\n').toStdString();
}

TEST_F(ProgramLifeLog, EndOfTheSessionIsLoggedToo) {
    startAndWaitForTheLog();
    ::kill(program.processId(), SIGHUP);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(logText(home).trimmed().endsWith(QStringLiteral("program ended: SIGHUP received")));
}
