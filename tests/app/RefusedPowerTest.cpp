// The real program whose power requests are not taken on: refused by logind
// as polkit refuses them, or with no system bus at all.
#include "app/Settings.h"
#include "common/RecordFile.h"
#include "fixtures/LogindMock.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QDir>
#include <QProcess>
#include <QTime>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

// Runs the program on a table that asks for a shutdown every second, behind
// a countdown of 1 s, until a request has failed with `why`; then checks that
// the program runs on, its schedule too, and that the failure was told.
void expectRunsOnAfterAFailure(const QString& systemBus, const QString& why) {
    TempFolder home, runtime;
    QDir(home.path()).mkpath(file::DayTimeTable);
    const Settings settings(home.path());
    settings.writeNumber(file::ResetSystem, 1);
    settings.writeText(file::Shut, QStringLiteral("开1"));
    // The program takes a while to come up on a busy machine: a minute of lines.
    const QTime now = QTime::currentTime();
    QString lines;
    for (int s = 2; s < 62; ++s)
        lines += u'|' + now.addSecs(s).toString("HH:mm:ss") + QStringLiteral("*没有注释>每天<关机");
    home.write(file::DefaultTable, TempFolder::quoted(lines));

    QProcessEnvironment env = campanor::test::programEnvironment(home.path(), runtime.path());
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", systemBus);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("CAMPANOR_BINARY"), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    auto log = [&] { return campanor::test::asRunLogText(home.path()); };

    const QString failed = QStringLiteral("失败：") + why;
    EXPECT_TRUE(waitUntil([&] { return log().contains(failed); }, 40000)) << log().toStdString();
    // The schedule goes on: a later line opens the next countdown.
    const qsizetype failedAt = log().indexOf(failed);
    EXPECT_TRUE(waitUntil(
        [&] { return log().indexOf(QStringLiteral("已打开 1 秒倒计时"), failedAt) > 0; }, 10000))
        << log().toStdString();
    EXPECT_EQ(program.state(), QProcess::Running) << log().toStdString();
    EXPECT_TRUE(readRecord(home.file(file::DefaultTable)).contains(QStringLiteral("*Error!>")));

    program.kill();
    program.waitForFinished(5000);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("notice: 关机请求没有被系统接受：") + why))
        << err.toStdString();
}

} // namespace

TEST(RefusedPower, TheProgramRunsOnAndLogsWhyTheShutdownFailed) {
    if (!QFile::exists(qEnvironmentVariable("CAMPANOR_BINARY")))
        GTEST_SKIP() << "program not built";
    campanor::test::LogindMock mock;
    ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
    mock.refuse("PowerOff", "b");
    expectRunsOnAfterAFailure(qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS"),
                              QStringLiteral("Interactive authentication required"));
    EXPECT_TRUE(mock.calls().contains("PowerOff(false)"));

    TempFolder nowhere;
    expectRunsOnAfterAFailure("unix:path=" + nowhere.file("no-bus"),
                              QStringLiteral("没有系统总线"));
}
