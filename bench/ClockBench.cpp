// How close to the start of its second the schedule acts, and what the
// ticking costs when nothing is due, each beside a bare Qt baseline in the
// same run. Run: build/bench/campanor_clock_bench [seconds] (default 120).
#include "common/RecordFile.h"
#include "fixtures/ProgramEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

struct Figures {
    qint64 median = 0, p99 = 0, max = 0;
    size_t count = 0;
};

Figures summarise(std::vector<qint64> v) {
    Figures f;
    if (v.empty())
        return f;
    std::sort(v.begin(), v.end());
    f.count = v.size();
    f.median = v[v.size() / 2];
    f.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    f.max = v.back();
    return f;
}

void print(const char* what, const Figures& f) {
    std::printf("  %-44s n=%4zu  median %3lld ms  p99 %3lld ms  max %3lld ms\n", what, f.count,
                static_cast<long long>(f.median), static_cast<long long>(f.p99),
                static_cast<long long>(f.max));
}

// CPU seconds a process has used so far, all its threads, from the
// scheduler's nanosecond accounting (the tick-based counters are too coarse
// for a process that is idle on purpose).
double cpuSeconds(qint64 pid) {
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(tid + "/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            total += QString::fromLatin1(stat.readAll()).section(u' ', 0, 0).toDouble() / 1e9;
    }
    return total;
}

void waitMs(int ms) {
    QTimer t;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The program in a scratch folder of its own, with a table written after the
// first start has written its settings.
class Program {
  public:
    explicit Program(const QString& binary) : binary_(binary) {}
    void start(const QString& tableText, const QString& calendarText = QString()) {
        run();
        waitFor([&] { return QFile::exists(home_.filePath("ResetSystem.txt")); });
        stop();
        campanor::writeTextRecord(home_.filePath("DayTimeTable/Default.DTT"), tableText);
        if (!calendarText.isEmpty())
            campanor::writeTextRecord(home_.filePath("Calendar.txt"), calendarText);
        run();
    }
    void stop() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    qint64 pid() const { return process_.processId(); }
    QString log() const { return campanor::test::asRunLogText(home_.path()); }

  private:
    void run() {
        process_.setProcessEnvironment(
            campanor::test::programEnvironment(home_.path(), runtime_.path()));
        process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(binary_, {});
        process_.waitForStarted(5000);
    }
    template <typename F> void waitFor(F done) {
        for (int i = 0; i < 300 && !done(); ++i)
            waitMs(50);
    }

    QString binary_;
    QTemporaryDir home_, runtime_;
    QProcess process_;
};

QString tableOfLines(const QDateTime& first, int count, const QString& action) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("|%1*b%2>每天<%3")
                    .arg(first.addSecs(i).time().toString("HH:mm:ss"))
                    .arg(i)
                    .arg(action);
    return text;
}

void tickOffsets(const QString& binary, int seconds) {
    std::printf("Tick offset from the start of its system second, %d s:\n", seconds);
    // The program carries out one line in every second; the as-run log holds
    // when each started.
    Program program(binary);
    const QDateTime first = QDateTime::currentDateTime().addSecs(8);
    program.start(tableOfLines(first, 300, QStringLiteral("后置关")));

    // Beside it, in this process: a bare precise timer aimed the same way, and
    // one at a fixed 1000 ms.
    std::vector<qint64> aimed, fixed;
    QTimer aimedTimer, fixedTimer;
    aimedTimer.setTimerType(Qt::PreciseTimer);
    aimedTimer.setSingleShot(true);
    QObject::connect(&aimedTimer, &QTimer::timeout, [&] {
        const int ms = QTime::currentTime().msec();
        aimed.push_back(ms);
        aimedTimer.start(1000 - ms + 5);
    });
    fixedTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&fixedTimer, &QTimer::timeout,
                     [&] { fixed.push_back(QTime::currentTime().msec()); });
    aimedTimer.start(1000 - QTime::currentTime().msec() + 5);
    fixedTimer.start(1000);
    waitMs(qMax(0, int(QDateTime::currentDateTime().msecsTo(first))) + seconds * 1000);
    aimedTimer.stop();
    fixedTimer.stop();
    program.stop();

    static const QRegularExpression entry(QStringLiteral("指令 \\S+ (\\S+) 开始 (\\S+) 完成"));
    std::vector<qint64> program_offsets;
    for (auto it = entry.globalMatch(program.log()); it.hasNext();) {
        const auto m = it.next();
        const QTime second = QTime::fromString(m.captured(1), "HH:mm:ss");
        const QTime started = QTime::fromString(m.captured(2), "HH:mm:ss.zzz");
        program_offsets.push_back(second.msecsTo(started));
    }
    print("program: instruction start (as-run log)", summarise(program_offsets));
    print("bare Qt precise timer, aimed at each second", summarise(aimed));
    print("bare Qt precise timer, fixed 1000 ms", summarise(fixed));
    const auto early = std::count_if(program_offsets.begin(), program_offsets.end(),
                                     [](qint64 v) { return v < 0; });
    std::printf("  program instructions started before their second: %lld\n",
                static_cast<long long>(early));
}

// 500 entries of every kind over four years, none of them today.
QString calendarOf500() {
    QStringList entries;
    const QDate today = QDate::currentDate();
    for (int i = 0; i < 500; ++i) {
        const QDate day = today.addDays(2 + i * 3);
        const QString date =
            QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
        const char* kinds[] = {"放假<", "换表</nowhere/T.DTT", "调休<星期二"};
        entries << date + QStringLiteral("*第%1项>").arg(i) + QString::fromUtf8(kinds[i % 3]);
    }
    return entries.join(u'|');
}

void idleCpu(const QString& binary, const QString& self, int seconds) {
    std::printf("Idle CPU over %d s, side by side:\n", seconds);
    // 300 lines, none of which falls due while we measure.
    const QString table =
        tableOfLines(QDateTime::currentDateTime().addSecs(-3600), 300, QStringLiteral("后置关"));
    Program program(binary);
    program.start(table);
    Program withCalendar(binary);
    withCalendar.start(table, calendarOf500());
    QProcess bare;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    bare.setProcessEnvironment(env);
    bare.start(self, {QStringLiteral("--bare-window")});
    bare.waitForStarted(5000);
    waitMs(3000); // both past their start-up
    const double p0 = cpuSeconds(program.pid()), b0 = cpuSeconds(bare.processId());
    const double c0 = cpuSeconds(withCalendar.pid());
    waitMs(seconds * 1000);
    const double p1 = cpuSeconds(program.pid()), b1 = cpuSeconds(bare.processId());
    const double c1 = cpuSeconds(withCalendar.pid());
    withCalendar.stop();
    bare.kill();
    bare.waitForFinished(5000);
    program.stop();
    const double p = 100.0 * (p1 - p0) / seconds, b = 100.0 * (b1 - b0) / seconds;
    std::printf("  program, 300-line table:        %.3f%%\n", p);
    std::printf("  bare Qt window, 1 Hz timer:     %.3f%%\n", b);
    std::printf("  ratio:                          %.2fx\n", b > 0 ? p / b : 0.0);
    const double c = 100.0 * (c1 - c0) / seconds;
    std::printf("  program, the same with a 500-entry calendar: %.3f%% (%.2fx)\n", c,
                p > 0 ? c / p : 0.0);
}

// The baseline window: a label that a 1 Hz timer rewrites.
int bareWindow(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label;
    label.resize(400, 60);
    label.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { label.setText(QTime::currentTime().toString("HH:mm:ss")); });
    timer.start(1000);
    return app.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && QByteArray(argv[1]) == "--bare-window")
        return bareWindow(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 120;
    const QString binary = QStringLiteral(CAMPANOR_BENCH_PROGRAM);
    tickOffsets(binary, seconds);
    idleCpu(binary, QCoreApplication::applicationFilePath(), seconds);
    return 0;
}
