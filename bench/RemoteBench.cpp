// Round trips of commands from outside, each beside a bare baseline on the same
// private session bus: Status() over QtDBus against a trivial QtDBus method,
// and `campanor --run 线路打开/线路关闭` (until the fake card has switched)
// against `gdbus call` to that trivial method. Run:
// build/bench/campanor_remote_bench [calls] (default 200).
#include "fixtures/FakeCard.h"
#include "fixtures/PrivateBus.h"
#include "fixtures/ProgramEnvironment.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures {
    double median = 0, p99 = 0;
};

Figures summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

void print(const char* what, const std::vector<double>& samples) {
    const Figures f = summarise(samples);
    std::printf("  %-52s n=%4zu  median %7.2f ms  p99 %7.2f ms\n", what, samples.size(), f.median,
                f.p99);
}

// The trivial service: one method that answers at once, on its own thread.
class Echo : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.campanor.Echo")
  public slots:
    int Ping() { return 1; }
};

double msSince(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("ALSA_CONFIG_PATH", CAMPANOR_BENCH_ALSA_CONFIG);
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    campanor::test::FakeCard card;
    QProcess bus;
    QString error;
    const QString address = campanor::test::startPrivateBus(bus, error);
    if (address.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir home, runtime;
    QProcessEnvironment env = campanor::test::programEnvironment(home.path(), runtime.path());
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime.path() + "/no-bus");
    env.insert("CAMPANOR_MIXER_DEVICE", qEnvironmentVariable("CAMPANOR_MIXER_DEVICE"));

    QThread echoThread;
    echoThread.start();
    Echo echo;
    echo.moveToThread(&echoThread);
    QDBusConnection echoBus = QDBusConnection::connectToBus(address, "echo");
    echoBus.registerObject("/echo", &echo, QDBusConnection::ExportAllSlots);
    echoBus.registerService("org.campanor.Echo");

    QProcess program;
    program.setProcessEnvironment(env);
    program.start(CAMPANOR_BENCH_PROGRAM, {});
    QDBusConnection client = QDBusConnection::connectToBus(address, "client");
    const auto call = [&](const QString& service, const QString& path, const QString& iface,
                          const QString& method) {
        return client.call(QDBusMessage::createMethodCall(service, path, iface, method));
    };
    for (int i = 0; i < 200; ++i) {
        if (call("org.campanor.Campanor", "/org/campanor/Campanor", "org.campanor.Campanor1",
                 "Status")
                .type() == QDBusMessage::ReplyMessage)
            break;
        QThread::msleep(100);
    }

    std::vector<double> status, ping, cli, gdbus;
    for (int i = 0; i < calls; ++i) {
        QElapsedTimer t;
        t.start();
        call("org.campanor.Campanor", "/org/campanor/Campanor", "org.campanor.Campanor1", "Status");
        status.push_back(msSince(t));
        t.start();
        call("org.campanor.Echo", "/echo", "org.campanor.Echo", "Ping");
        ping.push_back(msSince(t));
    }
    QProcess run;
    run.setProcessEnvironment(env);
    int switched = 0;
    for (int i = 0; i < calls; ++i) {
        const bool on = i % 2 == 0;
        QElapsedTimer t;
        t.start();
        run.start(CAMPANOR_BENCH_PROGRAM,
                  {"--run", on ? QStringLiteral("线路打开") : QStringLiteral("线路关闭")});
        run.waitForFinished(10000);
        while (card.value("Line Playback Switch") != (on ? 1 : 0) && t.elapsed() < 5000)
            QThread::usleep(200);
        cli.push_back(msSince(t));
        switched += card.value("Line Playback Switch") == (on ? 1 : 0);
        QProcess gd;
        gd.setProcessEnvironment(env);
        t.start();
        gd.start("gdbus", {"call", "--session", "--dest", "org.campanor.Echo", "--object-path",
                           "/echo", "--method", "org.campanor.Echo.Ping"});
        gd.waitForFinished(10000);
        gdbus.push_back(msSince(t));
    }
    std::printf("Commands from outside, %d calls each (private session bus):\n", calls);
    print("Status() over QtDBus", status);
    print("baseline: trivial QtDBus method", ping);
    print("campanor --run 线路打开/线路关闭 to the card switching", cli);
    print("baseline: gdbus call to the trivial method", gdbus);
    std::printf("  card switched on %d of %d runs\n", switched, calls);
    program.kill();
    program.waitForFinished(5000);
    echoThread.quit();
    echoThread.wait();
    bus.kill();
    bus.waitForFinished(5000);
    return switched == calls ? 0 : 1;
}

#include "RemoteBench.moc"
