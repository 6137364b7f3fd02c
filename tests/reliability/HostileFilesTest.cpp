// The real program, started on program folders holding hostile files. It must
// come up and run its schedule, show what it can, leave every file it could
// not read as it was, and say on standard error what it refused.
#include "app/Settings.h"
#include "common/RecordFile.h"
#include "fixtures/Audio.h"
#include "reliability/HostileProgram.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

enum class Hostile { Garbage, BadGb18030, NoClosingQuote, Empty, MegabyteLine, ManyLines, Folder };

std::string nameOf(Hostile kind) {
    switch (kind) {
    case Hostile::Garbage:
        return "Garbage";
    case Hostile::BadGb18030:
        return "BadGb18030";
    case Hostile::NoClosingQuote:
        return "NoClosingQuote";
    case Hostile::Empty:
        return "Empty";
    case Hostile::MegabyteLine:
        return "MegabyteLine";
    case Hostile::ManyLines:
        return "ManyLines";
    case Hostile::Folder:
        return "Folder";
    }
    return {};
}

QByteArray garbage(qsizetype size) {
    QRandomGenerator random(13);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

const QByteArray kNotGb18030 = "\x81\x20\xff\x80\x84";

// The hostile form of a file whose good record holds `text`. `filler` is
// what a 1 MB line and many lines are made of, appended to the text.
void plant(TempFolder& dir, const QString& name, Hostile kind, const QString& text,
           const QString& filler) {
    const QByteArray good = encodeLocal(text);
    switch (kind) {
    case Hostile::Garbage:
        dir.write(name, garbage(64 * 1024));
        break;
    case Hostile::BadGb18030:
        dir.write(name, "\"" + good + kNotGb18030 + "\"\r\n");
        break;
    case Hostile::NoClosingQuote:
        dir.write(name, "\"" + good + "\r\n");
        break;
    case Hostile::Empty:
        dir.write(name, "");
        break;
    case Hostile::MegabyteLine: {
        const QByteArray piece = encodeLocal(filler);
        dir.write(name, "\"" + good + piece.repeated(1024 * 1024 / piece.size() + 1) + "\"\r\n");
        break;
    }
    case Hostile::ManyLines: {
        const QByteArray extra = encodeLocal(filler) + "\r\n";
        dir.write(name, "\"" + good + "\"\r\n" + extra.repeated(100000));
        break;
    }
    case Hostile::Folder:
        QFile::remove(dir.file(name));
        QDir(dir.path()).mkpath(name);
        break;
    }
}

bool isReported(Hostile kind) {
    return kind == Hostile::BadGb18030 || kind == Hostile::NoClosingQuote ||
           kind == Hostile::MegabyteLine || kind == Hostile::Folder;
}

class HostileFiles : public ::testing::TestWithParam<Hostile> {};

std::string paramName(const ::testing::TestParamInfo<Hostile>& info) {
    return nameOf(info.param);
}

} // namespace

TEST_P(HostileFiles, ATableIsShownAsFarAsItCanBeReadAndNeverRewritten) {
    const Hostile kind = GetParam();
    HostileProgram program;
    TempFolder& dir = program.folder();
    const QString name = "DayTimeTable/Default.DTT";
    const QString markers = program.markerLines();
    if (kind == Hostile::ManyLines) {
        // 100,000 instructions in the text itself; the markers come first.
        QString text = markers;
        for (int i = 0; i < 100000; ++i)
            text += QStringLiteral("|%1*第%2条>每月1日<线路打开")
                        .arg(QTime(0, 0).addSecs(i).toString("HH:mm:ss"))
                        .arg(i);
        dir.write(name, TempFolder::quoted(text));
    } else if (kind == Hostile::Garbage) {
        // Garbage around the instructions that can be read.
        QByteArray bytes = garbage(64 * 1024);
        bytes.replace('"', '?');
        dir.write(name, "\"" + bytes + encodeLocal(markers) + "|" + bytes + "\"\r\n");
    } else if (kind == Hostile::MegabyteLine) {
        // One line of 1 MB after the instructions that can be read.
        dir.write(name, TempFolder::quoted(markers + u'|' + QString(512 * 1024, u'长')));
    } else {
        plant(dir, name, kind, markers, QStringLiteral("长"));
    }
    const auto before = program.snapshot();

    const bool canTick = kind != Hostile::Empty && kind != Hostile::Folder;
    ASSERT_TRUE(program.run(canTick ? 1 : 0, canTick ? 0 : 3000))
        << "did not come up or died\n"
        << program.standardError().toStdString();
    EXPECT_EQ(program.snapshot(), before) << "a file was rewritten";
    if (kind != Hostile::Empty) {
        EXPECT_TRUE(program.standardError().contains(dir.file(name)))
            << program.standardError().toStdString();
        EXPECT_TRUE(program.asRunLog().contains(dir.file(name)))
            << program.asRunLog().toStdString();
    }
}

TEST_P(HostileFiles, SettingsFilesGiveTheirDefaultsAndAreNeverRewrittenUnread) {
    const Hostile kind = GetParam();
    HostileProgram program;
    TempFolder& dir = program.folder();
    QMap<QString, QByteArray> good;
    for (const QString& name : program.settingsFiles())
        good[name] = dir.bytes(name);
    for (const QString& name : program.settingsFiles()) {
        // A reset would empty the default table (it is meant to): only a
        // ResetSystem.txt that cannot be read at all must not cause one.
        if (name == file::ResetSystem && kind != Hostile::Folder)
            continue;
        plant(dir, name, kind, parseRecord(decodeLocal(good[name])), QStringLiteral("长"));
    }
    const auto before = program.snapshot();

    ASSERT_TRUE(program.run(1)) << "did not come up or died\n"
                                << program.standardError().toStdString();
    const auto after = program.snapshot();
    const Settings settings(dir.path());
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (after.value(it.key()) == it.value())
            continue;
        // Only an empty or readable but useless ring or default-table setting
        // is written back, with its default.
        TempFolder probe;
        probe.write("f", it.value());
        const RecordRead read = readRecordFile(probe.file("f"), Settings::kMaxValueLength);
        ASSERT_TRUE(read.status == ReadStatus::Ok && !read.lossy)
            << it.key().toStdString() << " was rewritten though it could not be read";
        if (it.key() == file::DefaultDTT)
            EXPECT_EQ(settings.read(file::DefaultDTT), program.tablePath());
        else if (it.key() == file::UserWav)
            EXPECT_EQ(settings.read(file::UserWav), dir.file(file::BuiltInRing));
        else
            ADD_FAILURE() << it.key().toStdString() << " was rewritten";
    }
    if (isReported(kind)) {
        for (const QString& name : {file::Show, file::Shut, file::UserWav, file::User})
            EXPECT_TRUE(program.standardError().contains(dir.file(name)))
                << name.toStdString() << " not reported\n"
                << program.standardError().toStdString();
    }
}

TEST_P(HostileFiles, APlaylistIsPlayedAsFarAsItCanBeReadAndNeverRewritten) {
    const Hostile kind = GetParam();
    HostileProgram program;
    TempFolder& dir = program.folder();
    const QString track = dir.file("a.wav");
    ASSERT_TRUE(writeTone(track, 0.5));
    const QString list = dir.file("PlayListFile/Hostile.PLF");
    // The back player starts on the list at even seconds; the ticks between
    // show that the program went on after it.
    QString table = program.markerLines(3, 2);
    const QTime now = QTime::currentTime();
    for (int s = 2; s < 62; s += 2)
        table += QStringLiteral("|%1*list>每天<播音开-静态%2")
                     .arg(now.addSecs(s).toString("HH:mm:ss"), list);
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(table));
    dir.write("PlayListFile/Hostile.PLFR", "0\r\n");
    plant(dir, "PlayListFile/Hostile.PLF", kind, "|" + track + "|" + track, "|" + track);
    if (kind == Hostile::Garbage) {
        ASSERT_TRUE(readRecordFile(list).lossy);
    }
    const auto before = program.snapshot();

    ASSERT_TRUE(program.run(2)) << "did not come up or died\n"
                                << program.standardError().toStdString();
    // A list that leaves nothing to play fails its instruction, which the
    // table then marks: the table alone may change.
    auto after = program.snapshot();
    auto expected = before;
    for (auto* files : {&after, &expected})
        files->remove(QStringLiteral("DayTimeTable/Default.DTT"));
    EXPECT_EQ(after, expected) << "a file was rewritten";
    if (kind != Hostile::Empty && kind != Hostile::ManyLines && kind != Hostile::MegabyteLine) {
        EXPECT_TRUE(program.standardError().contains(list))
            << program.standardError().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileFiles,
                         ::testing::Values(Hostile::Garbage, Hostile::BadGb18030,
                                           Hostile::NoClosingQuote, Hostile::Empty,
                                           Hostile::MegabyteLine, Hostile::ManyLines,
                                           Hostile::Folder),
                         paramName);

TEST(MissingPlatformPieces, NoSoundNoMixerNoSystemBusAndTheScheduleGoesOn) {
    HostileProgram program;
    TempFolder& dir = program.folder();
    const QString track = dir.file("a.wav");
    ASSERT_TRUE(writeTone(track, 0.5));
    // A ring, the line input and the microphone every other second; the ticks
    // between them show that the schedule went on.
    QString table = program.markerLines(3, 2);
    const QTime now = QTime::currentTime();
    const QStringList actions{track, QStringLiteral("线路打开"), QStringLiteral("麦克风关")};
    for (int s = 2; s < 62; s += 2)
        table += QStringLiteral("|%1*x>每天<%2")
                     .arg(now.addSecs(s).toString("HH:mm:ss"), actions[(s / 2) % actions.size()]);
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(table));

    ASSERT_TRUE(program.run(4, 0,
                            {{"CAMPANOR_AUDIO_SINK", "nosuchsinkelement"},
                             {"CAMPANOR_MIXER_DEVICE", "hw:99"},
                             {"ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf"},
                             {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + dir.file("no-bus")},
                             {"PULSE_SERVER", "unix:" + dir.file("no-pulse")}}))
        << "did not come up or died\n"
        << program.standardError().toStdString();
    const QString err = program.standardError();
    EXPECT_TRUE(err.contains("nosuchsinkelement")) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("找不到声卡混音器！"))) << err.toStdString();
}
