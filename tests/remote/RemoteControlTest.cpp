#include "fixtures/Audio.h"
#include "fixtures/FakeCard.h"
#include "fixtures/PrivateBus.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include "media/Playlist.h"
#include "table/InstructionTable.h"

#include <QDir>
#include <QProcess>
#include <QTime>
#include <cstdio>
#include <gtest/gtest.h>

using campanor::test::TempFolder;
using campanor::test::waitUntil;

namespace {

struct Answer {
    int status = -1;
    QString out, err;
};

// The real program on a private session bus, and its command line beside it.
class RemoteControl : public ::testing::Test {
  protected:
    void SetUp() override {
        binary = qEnvironmentVariable("CAMPANOR_BINARY");
        if (binary.isEmpty() || !QFile::exists(binary))
            GTEST_SKIP() << "program not built";
        QString error;
        const QString address = campanor::test::startPrivateBus(bus, error);
        ASSERT_FALSE(address.isEmpty()) << error.toStdString();
        env = campanor::test::programEnvironment(home.path(), runtime.path());
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + runtime.path() + "/no-bus");
        env.insert("CAMPANOR_MIXER_DEVICE", qEnvironmentVariable("CAMPANOR_MIXER_DEVICE"));
        program.setProcessEnvironment(env);
        // The built-in ring, for an emergency without its list.
        QFile::copy(qEnvironmentVariable("CAMPANOR_ASSETS") + "/timeup.mp3",
                    home.file("timeup.mp3"));
    }
    void TearDown() override {
        for (QProcess* p : {&program, &bus}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    Answer command(const QStringList& args) {
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(binary, args);
        cli.waitForFinished(15000);
        return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                QString::fromUtf8(cli.readAllStandardError())};
    }
    void start() {
        program.start(binary, {});
        ASSERT_TRUE(program.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([&] { return command({"--status"}).status == 0; }, 20000));
    }
    QString log() const { return campanor::test::asRunLogText(home.path()); }
    QString table() const { return home.file("DayTimeTable/Default.DTT"); }
    // Replaces the table file as a sync tool does: a new file renamed over it.
    void replaceTable(const QByteArray& bytes) {
        home.write("DayTimeTable/.incoming", bytes);
        ASSERT_EQ(std::rename(qPrintable(home.file("DayTimeTable/.incoming")), qPrintable(table())),
                  0);
    }
    static QString inSeconds(int seconds) {
        return QTime::currentTime().addSecs(seconds).toString("HH:mm:ss");
    }

    QString binary;
    campanor::test::FakeCard card;
    TempFolder home, runtime;
    QProcessEnvironment env;
    QProcess bus, program;
};

} // namespace

TEST_F(RemoteControl, CommandsReachTheRunningProgramOrAreRefusedWithTheReason) {
    const Answer none = command({"--status"});
    EXPECT_EQ(none.status, 3);
    EXPECT_TRUE(none.err.contains(QStringLiteral("没有正在运行"))) << none.err.toStdString();

    start();
    const Answer status = command({"--status"});
    EXPECT_TRUE(status.out.contains("table: " + table())) << status.out.toStdString();
    for (const char* field : {"internalClock: ", "systemClock: ", "nextInstruction: ", "backList: ",
                              "frontTrack: ", "lineIn: unknown", "emergency: no"})
        EXPECT_TRUE(status.out.contains(QString::fromUtf8(field))) << field;

    // Each instruction the as-run log records is also a signal on the bus.
    QProcess monitor;
    monitor.setProcessEnvironment(env);
    monitor.start("gdbus", {"monitor", "--session", "--dest", "org.campanor.Campanor"});
    ASSERT_TRUE(waitUntil([&] { return monitor.bytesAvailable() > 0; }, 5000));
    card.set("Line Playback Switch", 0);
    EXPECT_EQ(command({"--run", QStringLiteral("线路打开")}).status, 0);
    EXPECT_TRUE(waitUntil(
        [&] {
            return monitor.peek(1 << 16).contains("org.campanor.Campanor1.InstructionCarriedOut") &&
                   monitor.peek(1 << 16).contains("外部命令：完成");
        },
        5000));
    monitor.kill();
    monitor.waitForFinished(5000);
    EXPECT_EQ(card.value("Line Playback Switch"), 1);
    EXPECT_TRUE(command({"--status"}).out.contains("lineIn: on"));
    EXPECT_TRUE(log().contains(QStringLiteral("外部命令：完成：线路打开")));

    EXPECT_EQ(command({"--ring"}).status, 0); // answered at once, rung right after
    EXPECT_TRUE(waitUntil(
        [&] { return log().contains(QStringLiteral("外部命令：完成：默认乐音")); }, 3000));

    // Each refused with its reason; nothing is run (the card stays off).
    card.set("Line Playback Switch", 0);
    const struct {
        QString field, reason;
    } refused[] = {
        {QStringLiteral("响铃吧"), QStringLiteral("未知的动作")},
        {QStringLiteral("前置播音/nowhere/Fire.PLF"), QStringLiteral("曲目表文件不存在")},
        {QStringLiteral("线路打开<每天"), QStringLiteral("不能包含[<]")},
        {QStringLiteral("线路打开 now"), QStringLiteral("未知的动作")},
    };
    for (const auto& [field, reason] : refused) {
        const Answer answer = command({"--run", field});
        EXPECT_EQ(answer.status, 1) << field.toStdString();
        EXPECT_TRUE(answer.err.contains(reason)) << answer.err.toStdString();
    }
    EXPECT_EQ(card.value("Line Playback Switch"), 0);
}

TEST_F(RemoteControl, EmergencySuspendsTheTableLoopsTheAlarmAndSurvivesAKill) {
    // Real time: the alarm must still sound after its one second.
    env.insert("CAMPANOR_AUDIO_SINK", "fakesink sync=true");
    program.setProcessEnvironment(env);
    QDir().mkpath(home.file("music"));
    ASSERT_TRUE(campanor::test::writeTone(home.file("music/back.wav"), 60));
    ASSERT_TRUE(campanor::test::writeTone(home.file("music/alarm.wav"), 1, 880));
    const QString back = home.file("PlayListFile/Back.PLF");
    home.write("PlayListFile/Back.PLF",
               TempFolder::quoted(campanor::joinPlaylistText({home.file("music/back.wav")})));
    home.write("PlayListFile/EMERGENCY.PLF",
               TempFolder::quoted(campanor::joinPlaylistText({home.file("music/alarm.wav")})));
    const auto status = [&] { return command({"--status"}).out; };
    const auto alarmSounds = [&] {
        const QString now = status();
        return now.contains("frontList: " + home.file("PlayListFile/EMERGENCY.PLF")) &&
               now.contains("frontPlaying: yes");
    };

    start();
    ASSERT_EQ(command({"--run", QStringLiteral("播音开-静态") + back}).status, 0);
    ASSERT_TRUE(waitUntil([&] { return status().contains("backPlaying: yes"); }, 5000));
    EXPECT_EQ(command({"--emergency", "on"}).status, 0);
    EXPECT_EQ(command({"--emergency", "on"}).status, 1); // already on
    ASSERT_TRUE(waitUntil(alarmSounds, 8000)) << status().toStdString();
    EXPECT_TRUE(status().contains("backPlaying: no"));
    QThread::msleep(2500); // past the alarm's end: it loops
    EXPECT_TRUE(alarmSounds()) << status().toStdString();
    EXPECT_EQ(command({"--emergency", "off"}).status, 0);
    ASSERT_TRUE(waitUntil([&] { return status().contains("backPlaying: yes"); }, 8000));
    EXPECT_TRUE(status().contains("frontList: \n"));
    EXPECT_TRUE(log().contains("紧急广播结束："));

    EXPECT_EQ(command({"--emergency", "on"}).status, 0);
    // A table that arrives meanwhile is followed, but its instruction is held.
    card.set("Line Playback Switch", 0);
    const QString line = inSeconds(3) + QStringLiteral("*没有注释>每天<线路打开");
    replaceTable(TempFolder::quoted(u'|' + line));
    ASSERT_TRUE(waitUntil(
        [&] { return log().contains(QStringLiteral("暂停（紧急广播）：") + line); }, 8000))
        << log().toStdString();
    EXPECT_EQ(card.value("Line Playback Switch"), 0);

    program.kill(); // as a power cut would
    ASSERT_TRUE(program.waitForFinished(5000));
    start();
    EXPECT_TRUE(status().contains("emergency: yes"));
    EXPECT_TRUE(waitUntil(alarmSounds, 8000)) << status().toStdString();
    EXPECT_TRUE(log().contains("紧急广播在程序启动后仍在进行"));
    EXPECT_EQ(command({"--run", QStringLiteral("线路打开")}).status, 1);
    EXPECT_EQ(command({"--emergency", "off"}).status, 0);
    EXPECT_TRUE(status().contains("emergency: no"));
}

TEST_F(RemoteControl, TheTableFollowsItsFileButNotAHalfWrittenOneNorItsOwnWrites) {
    start();
    // A ring that cannot sound fails, and the program marks it in its own file.
    const QString failing = inSeconds(4) + QStringLiteral("*没有注释>每天</nowhere/bell.mp3");
    const QString kept = QStringLiteral("23:59:58*没有注释>每天<线路打开");
    replaceTable(TempFolder::quoted(u'|' + failing + u'|' + kept));
    ASSERT_TRUE(
        waitUntil([&] { return command({"--status"}).out.contains("instructions: 2"); }, 2000))
        << command({"--status"}).out.toStdString() << log().toStdString();
    EXPECT_EQ(log().count("指令表文件被外部修改"), 1);
    ASSERT_TRUE(waitUntil(
        [&] {
            return QString::fromUtf8(home.bytes("DayTimeTable/Default.DTT")).contains("Error!");
        },
        8000));
    QThread::msleep(1500);
    EXPECT_EQ(log().count("指令表文件被外部修改"), 1) << log().toStdString();

    // Half copied: bytes that are not GB18030 and no closing quotation mark.
    replaceTable("\"|08:00:00*\x81\x20\xff>");
    ASSERT_TRUE(waitUntil([&] { return log().contains("但无法完整读取"); }, 2000));
    const Answer status = command({"--status"});
    EXPECT_TRUE(status.out.contains("instructions: 2")) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains("tableFileRefused: yes"));
    replaceTable(TempFolder::quoted(u'|' + kept));
    ASSERT_TRUE(
        waitUntil([&] { return command({"--status"}).out.contains("instructions: 1"); }, 2000));
    EXPECT_EQ(log().count("但无法完整读取"), 1);

    // The school calendar is followed too: tomorrow's line changes at once.
    const QDate tomorrow = QDate::currentDate().addDays(1);
    home.write(".incoming", TempFolder::quoted(QStringLiteral("%1年%2月%3日*校运会>放假<")
                                                   .arg(tomorrow.year())
                                                   .arg(tomorrow.month())
                                                   .arg(tomorrow.day())));
    ASSERT_EQ(
        std::rename(qPrintable(home.file(".incoming")), qPrintable(home.file("Calendar.txt"))), 0);
    ASSERT_TRUE(waitUntil(
        [&] { return command({"--status"}).out.contains("tomorrow: 明天：放假（校运会）"); }, 2000))
        << command({"--status"}).out.toStdString() << log().toStdString();
    QThread::msleep(1500);
    EXPECT_EQ(log().count("校历文件被外部修改"), 1) << log().toStdString();
}
