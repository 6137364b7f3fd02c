// The real program under libfaketime: its system clock is stepped while it
// runs, and the as-run log tells what ran when.
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

const char* kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

struct Ran {
    QString name;
    QDateTime second;
    QTime started;
};

class SteppedProgram {
  public:
    // Starts the program with its clock at `at`.
    void start(const QDateTime& at) {
        setClock(at);
        QProcessEnvironment env = campanor::test::programEnvironment(home.path(), runtime.path());
        env.insert("LD_PRELOAD", kFakeTime);
        env.insert("FAKETIME_TIMESTAMP_FILE", runtime.file("faketime"));
        env.insert("FAKETIME_NO_CACHE", "1");
        env.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
        // A sanitized program refuses a library loaded ahead of its runtime.
        const QString asan = env.value("ASAN_OPTIONS");
        env.insert("ASAN_OPTIONS", (asan.isEmpty() ? "" : asan + ":") + "verify_asan_link_order=0");
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("CAMPANOR_BINARY"), {});
    }
    // Steps the running program's clock so that it now shows `at`.
    void setClock(const QDateTime& at) {
        const qint64 offset = QDateTime::currentDateTime().msecsTo(at);
        runtime.write("faketime", (offset >= 0 ? "+" : "") +
                                      QByteArray::number(double(offset) / 1000.0, 'f', 3) + "\n");
    }
    void stop() {
        process.kill();
        process.waitForFinished(5000);
    }
    // Every instruction the log says was carried out, in order.
    QList<Ran> ran() const {
        static const QRegularExpression entry(
            QStringLiteral("instruction (\\S+ \\S+) started (\\S+) done: [^*]+\\*([^>]+)>"));
        QList<Ran> all;
        const QString text = QString::fromUtf8(logText());
        for (auto it = entry.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            all.push_back(
                {m.captured(3),
                 QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 QTime::fromString(m.captured(2), QStringLiteral("HH:mm:ss.zzz"))});
        }
        return all;
    }
    QByteArray logText() const { return campanor::test::asRunLogText(home.path()).toUtf8(); }
    bool hasRun(const QString& name) const {
        for (const Ran& r : ran())
            if (r.name == name)
                return true;
        return false;
    }

    TempFolder home, runtime;
    QProcess process;
};

} // namespace

TEST(ClockStep, TheRealProgramFollowsStepsAndMidnightOnTheSecond) {
    if (!QFile::exists(kFakeTime) || !QFile::exists(qEnvironmentVariable("CAMPANOR_BINARY")))
        GTEST_SKIP() << "needs libfaketime and the program";
    SteppedProgram program;
    // A first start writes the settings files and an empty table.
    const QDateTime sunday(QDate(2026, 12, 13), QTime(23, 59, 40));
    program.start(sunday);
    ASSERT_TRUE(waitUntil([&] { return program.home.exists("ResetSystem.txt"); }, 15000));
    program.stop();

    program.home.write("DayTimeTable/Default.DTT",
                       TempFolder::quoted(QStringLiteral("|23:59:58*sunday>星期日<后置关"
                                                         "|00:00:00*monday>星期一<后置关"
                                                         "|00:00:00*shadow>每天<后置关"
                                                         "|00:05:00*forward>每天<后置关"
                                                         "|00:07:00*once>每天<后置关")));
    program.start(sunday.addSecs(5));
    ASSERT_TRUE(program.process.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return program.hasRun("monday"); }, 40000))
        << program.logText().toStdString();

    // Forward ten minutes: what fell due between runs within a few seconds.
    program.setClock(QDateTime(QDate(2026, 12, 14), QTime(0, 10, 0)));
    ASSERT_TRUE(waitUntil([&] { return program.hasRun("once"); }, 15000))
        << program.logText().toStdString();
    // Back five minutes: the internal clock holds, 00:07:00 does not run again.
    program.setClock(QDateTime(QDate(2026, 12, 14), QTime(0, 6, 57)));
    waitUntil([] { return false; }, 6000);
    program.stop();

    const QList<Ran> ran = program.ran();
    QStringList names;
    for (const Ran& r : ran) {
        names << r.name;
        // Never before its second, and within the second when on time.
        const qint64 lateMs = r.second.time().msecsTo(r.started);
        EXPECT_GE(lateMs, 0) << r.name.toStdString();
        if (r.name == "sunday" || r.name == "monday") {
            EXPECT_LT(lateMs, 300) << r.name.toStdString();
        }
    }
    EXPECT_EQ(names, (QStringList{"sunday", "monday", "forward", "once"}));
    EXPECT_EQ(ran[0].second.date(), QDate(2026, 12, 13));
    EXPECT_EQ(ran[1].second.date(), QDate(2026, 12, 14)) << "the right day at midnight";
    const QString log = QString::fromUtf8(program.logText());
    EXPECT_TRUE(log.contains("passed over (another line of this second ran): 00:00:00*shadow"));
    EXPECT_TRUE(log.contains(QRegularExpression("the system clock stepped \\+59\\d s")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("the system clock stepped -1\\d\\d s")));
}
