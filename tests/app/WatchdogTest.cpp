#include "app/FormallFixture.h"
#include "common/AsRunLog.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/WaitUntil.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace campanor;
using namespace campanor::test;

namespace {

// The service manager's end of NOTIFY_SOCKET: a datagram socket that keeps
// every message with the time it was read.
class NotifyListener {
  public:
    explicit NotifyListener(const QString& path) : path_(path) {
        fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~NotifyListener() { ::close(fd_); }
    bool bound() const { return bound_; }
    // Reads what has come; returns how many of them say `state`.
    int drain(const char* state = "WATCHDOG=1") {
        char buffer[512];
        ssize_t n;
        while ((n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0)
            messages << QString::fromUtf8(buffer, n).trimmed();
        return int(messages.count(QString::fromUtf8(state)));
    }
    QStringList messages;

  private:
    QString path_;
    int fd_ = -1;
    bool bound_ = false;
};

class Watchdog : public FormallTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(listener.bound());
        qputenv("NOTIFY_SOCKET", socketPath.toUtf8());
    }
    void TearDown() override { qunsetenv("NOTIFY_SOCKET"); }

    TempFolder runtime;
    QString socketPath = runtime.file("notify");
    NotifyListener listener{socketPath};
};

} // namespace

// The real program: ready once its window is up, then alive at every tick;
// the exit the system asks for is a clean one, which the unit does not restart.
TEST_F(Watchdog, TheProgramSaysReadyThenAliveAtEveryTick) {
    const QString binary = qEnvironmentVariable("CAMPANOR_BINARY");
    if (binary.isEmpty() || !QFile::exists(binary))
        GTEST_SKIP() << "program not built";
    TempFolder home;
    QProcessEnvironment env = programEnvironment(home.path(), runtime.path());
    env.insert("NOTIFY_SOCKET", socketPath);
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime.path() + "/no-bus");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(binary, {});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return listener.drain("READY=1") == 1; }, 20000))
        << listener.messages.join(' ').toStdString();
    const int before = listener.drain();
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(waitUntil([&] { return listener.drain() >= before + 3; }, 5000));
    EXPECT_LT(waited.elapsed(), 4000) << "one at every tick, a tick every second";

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    listener.drain();
    EXPECT_EQ(listener.messages.last(), "STOPPING=1");
}

// A held user-interface thread falls silent (so the watchdog ends it); a
// slow folder walk does not hold it, and one past its limit fails its line.
TEST_F(Watchdog, OnlyAHeldWindowStopsTheTicksAndASlowWalkFailsItsLineAtItsLimit) {
    useScriptedMedia();
    for (const char* sub : {"a", "b", "c", "d", "e", "f", "g", "h"})
        dir.write(QStringLiteral("songs/%1/x.mp3").arg(QLatin1String(sub)), "x");
    const QString songs = dir.file("songs");
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:01*x>每天<搜索文件夹-后置排序") + songs +
                                 QStringLiteral("|08:00:02*y>每天<搜索文件夹-后置随机") + songs));
    auto w = start();
    AsRunLog::open(dir.path());
    std::atomic<int> foldersRead{0};
    w->setFolderWalkLimit(30000, [&] {
        ++foldersRead;
        QThread::msleep(300);
    });
    ASSERT_TRUE(waitUntil([&] { return listener.drain() >= 2; }, 5000));

    // Held: nothing is said while the thread is away.
    const int beforeHold = listener.drain();
    QThread::msleep(2500);
    EXPECT_EQ(listener.drain(), beforeHold);
    ASSERT_TRUE(waitUntil([&] { return listener.drain() > beforeHold; }, 3000));

    // A walk of about 2.4 s: the ticks go on while it runs.
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->backPlayer(), nullptr) << "not before the walk ends";
    const int beforeWalk = listener.drain();
    ASSERT_TRUE(waitUntil([&] { return w->backPlayer() != nullptr; }, 10000));
    EXPECT_GE(listener.drain(), beforeWalk + 2);
    EXPECT_EQ(foldersRead, 8);
    PlayerWindow* first = w->backPlayer();

    // Past its limit the walk is given up, its line failed and marked, and
    // its late end starts nothing.
    foldersRead = 0;
    w->setFolderWalkLimit(500, [&] {
        ++foldersRead;
        QThread::msleep(300);
    });
    clock.advanceMs(1000);
    w->Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return !w->folderWalkPending(); }, 5000));
    EXPECT_TRUE(w->table().lines().contains(
        QStringLiteral("08:00:02*Error!y>每天<搜索文件夹-后置随机") + songs));
    waitUntil([] { return false; }, 1000);
    EXPECT_LT(foldersRead, 8) << "the walk stops at its next folder";
    EXPECT_EQ(w->backPlayer(), first);
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("开始：正在读取搜索文件夹"))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("失败：搜索文件夹 0.5 秒内没有读完，已放弃：") + songs))
        << text.toStdString();
}
