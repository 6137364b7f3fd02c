#include "app/SingleInstance.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

QMap<QString, QDateTime> snapshot(const QString& folder) {
    QMap<QString, QDateTime> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // The running instance goes on logging (clock health, its first
        // seconds): its log is looked at apart.
        if (!path.contains(QStringLiteral("/Log/")))
            files[path] = QFileInfo(path).lastModified();
    }
    return files;
}

} // namespace

TEST(SecondInstance, TheRunningInstanceHearsARaiseRequest) {
    TempFolder runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    SingleInstance first;
    ASSERT_TRUE(first.acquire());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second;
    EXPECT_TRUE(second.askRunningToRaise());
    EXPECT_TRUE(waitUntil([&] { return raised.count() > 0; }, 2000));
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST(SecondInstance, ASecondProcessShowsTheMessageAndTouchesNothing) {
    const QString binary = qEnvironmentVariable("CAMPANOR_BINARY");
    if (binary.isEmpty() || !QFile::exists(binary))
        GTEST_SKIP() << "program not built";
    TempFolder home, runtime;
    const QProcessEnvironment env = campanor::test::programEnvironment(home.path(), runtime.path());

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(binary, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // The first instance is up once it has written its settings and listens.
    const QString socket = runtime.path() + QStringLiteral("/campanor-%1.socket").arg(getuid());
    ASSERT_TRUE(waitUntil(
        [&] { return QFile::exists(home.file("ResetSystem.txt")) && QFile::exists(socket); },
        10000));
    QThread::msleep(300);
    const auto before = snapshot(home.path());

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(binary, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    const QString err = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("Campanor(版本 7.2.363)已运行！")))
        << err.toStdString();
    EXPECT_EQ(snapshot(home.path()), before);
    EXPECT_EQ(first.state(), QProcess::Running);
    QDirIterator logs(home.file("Log"), QDir::Files);
    while (logs.hasNext()) {
        QFile log(logs.next());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(log.readAll()).count(QStringLiteral("程序启动：")), 1)
            << "only the first instance starts";
    }

    first.kill();
    first.waitForFinished(5000);
}
