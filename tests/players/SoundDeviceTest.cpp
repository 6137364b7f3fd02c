#include "common/SoundDevice.h"
#include "common/AsRunLog.h"
#include "fixtures/Audio.h"
#include "fixtures/FakeCard.h"
#include "fixtures/OutputRecorder.h"
#include "fixtures/PrivateSoundServer.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"
#include "mixer/Class1.h"
#include "players/FormSoundDevice.h"
#include "players/MediaPlayer.h"
#include "players/SoundOutput.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

// The choice as the program makes it at the start, and as it is given back.
void use(const SoundDevice& choice, int* missing = nullptr) {
    const auto told = [missing](const QString&) {
        if (missing)
            ++*missing;
    };
    soundOutput::useStored(choice.output, told);
    Class1::useStoredDevice(choice.mixer, told);
}

// Without the environment variables the test runs on; what it changes is put back.
class Unset {
  public:
    Unset() {
        qunsetenv("CAMPANOR_AUDIO_SINK");
        qunsetenv("CAMPANOR_MIXER_DEVICE");
    }
    ~Unset() {
        use({});
        qputenv("CAMPANOR_AUDIO_SINK", sink_);
        if (mixer_.isNull())
            qunsetenv("CAMPANOR_MIXER_DEVICE");
        else
            qputenv("CAMPANOR_MIXER_DEVICE", mixer_);
        AsRunLog::close();
    }

  private:
    QByteArray sink_ = qgetenv("CAMPANOR_AUDIO_SINK");
    QByteArray mixer_ = qEnvironmentVariableIsSet("CAMPANOR_MIXER_DEVICE")
                            ? qgetenv("CAMPANOR_MIXER_DEVICE")
                            : QByteArray();
};

QString todaysLog() {
    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

// The stored output is what a player plays through, the stored card what the
// switches switch; the environment variables win over both.
TEST(SoundDevice, TheStoredChoiceIsPlayedThroughAndSwitchedUnlessTheEnvironmentNamesAnother) {
    TempFolder dir;
    ASSERT_TRUE(writeTone(dir.file("tone.wav"), 0.5));
    FakeCard card;
    Unset unset;
    const Settings settings(dir.path());
    const SoundDevice chosen{QStringLiteral("fakesink name=chosen sync=true signal-handoffs=true"),
                             QStringLiteral("fakecard")};
    ASSERT_TRUE(writeSoundDevice(settings, chosen));
    EXPECT_EQ(dir.bytes("SoundDevice.txt"), TempFolder::quoted(chosen.output + "|fakecard"));
    ASSERT_EQ(readSoundDevice(settings), chosen);

    int missing = 0;
    use(readSoundDevice(settings), &missing);
    {
        MediaPlayer player;
        EXPECT_EQ(player.sink(), chosen.output);
        OutputRecorder played(player.outputElement("chosen"));
        player.setFileName(dir.file("tone.wav"));
        ASSERT_TRUE(waitUntil([&] { return player.playState() == MediaControl::Stopped; }));
        ASSERT_FALSE(played.spans().isEmpty());
        EXPECT_NEAR(played.spans().last().end / 1e9, 0.5, 0.05) << "the whole tone, through it";
    }
    EXPECT_EQ(Class1::deviceName(), QStringLiteral("fakecard"));
    Class1().setLineInMute(1);
    EXPECT_EQ(card.value("Line Playback Switch"), 0);

    qputenv("CAMPANOR_AUDIO_SINK", "fakesink name=fromenv");
    qputenv("CAMPANOR_MIXER_DEVICE", "hw:99");
    MediaPlayer player;
    EXPECT_NE(player.outputElement("fromenv"), nullptr);
    EXPECT_EQ(player.outputElement("chosen"), nullptr);
    EXPECT_EQ(Class1::deviceName(), QStringLiteral("hw:99"));
    EXPECT_EQ(missing, 0);
}

// A stored output or card that is not there at the start is said once, and
// the default serves; so does a file that cannot be read.
TEST(SoundDevice, AMissingOrUnreadableChoiceFallsBackToTheDefaultSaidOnce) {
    TempFolder dir;
    Unset unset;
    AsRunLog::open(dir.path());
    const Settings settings(dir.path());
    ASSERT_TRUE(writeSoundDevice(
        settings, {QStringLiteral("alsasink device=hw:77"), QStringLiteral("hw:77")}));
    int missing = 0;
    use(readSoundDevice(settings), &missing);
    EXPECT_EQ(Class1::deviceName(), QStringLiteral("hw:0"));
    ASSERT_TRUE(waitUntil([&] { return missing == 2; })) << "the output's check ends by itself";
    for (int player = 0; player < 3; ++player)
        EXPECT_EQ(MediaPlayer().sink(), QStringLiteral("autoaudiosink"));
    EXPECT_EQ(missing, 2);
    const QString log = todaysLog();
    EXPECT_EQ(log.count(QStringLiteral("找不到已选的声音输出 alsasink device=hw:77")), 1)
        << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("找不到已选的混音器声卡 hw:77")), 1) << log.toStdString();
    EXPECT_EQ(log.count(u'\n'), 2) << log.toStdString();

    // A folder where the file should be cannot be read.
    QFile::remove(dir.file("SoundDevice.txt"));
    QDir(dir.path()).mkdir("SoundDevice.txt");
    EXPECT_EQ(readSoundDevice(settings), SoundDevice{});
    EXPECT_EQ(todaysLog().count(QStringLiteral("使用默认输出和第一块声卡")), 1);
}

namespace {

class SoundDeviceWindow : public PrivateSoundServer {
  protected:
    QString found(const QListWidget* list) const {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text() + u' ' + list->item(i)->data(Qt::UserRole).toString();
        return items.join(u'\n');
    }
    QTreeWidgetItem* cardRow(const QTreeWidget* list, const QString& device) const {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->data(0, Qt::UserRole).toString() == device)
                return list->topLevelItem(i);
        }
        return nullptr;
    }
};

} // namespace

// The window finds the sound server's output and the card without holding
// up its thread, plays the ring there (and says when it cannot), and stores
// the choice, which the next player is built on.
TEST_F(SoundDeviceWindow, ListsTriesAndStoresTheOutputAndTheCard) {
    ASSERT_TRUE(writeTone(dir.file("ring.wav"), 0.5));
    FakeCard card;
    Unset unset;
    SoundDevice applied;
    FormSoundDevice window(dir.path(), dir.file("ring.wav"), [&](const SoundDevice& choice) {
        applied = choice;
        use(choice);
    });
    window.show();
    EXPECT_FALSE(window.listed()) << "the devices are looked for off the window's thread";
    ASSERT_TRUE(waitUntil([&] { return window.listed(); }, 10000));

    ASSERT_GE(window.ListOutput->count(), 2);
    EXPECT_EQ(window.ListOutput->item(0)->text(), QStringLiteral("默认输出"));
    EXPECT_EQ(window.ListOutput->currentRow(), 0) << "nothing stored: the default";
    QListWidgetItem* server = nullptr;
    for (int i = 0; i < window.ListOutput->count(); ++i) {
        if (window.ListOutput->item(i)->data(Qt::UserRole) == "pulsesink device=out")
            server = window.ListOutput->item(i);
    }
    ASSERT_NE(server, nullptr) << found(window.ListOutput).toStdString();
    EXPECT_TRUE(server->text().contains(QStringLiteral("PulseAudio")));
    QTreeWidgetItem* fake = cardRow(window.ListCard, QStringLiteral("fakecard"));
    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(fake->text(1), QStringLiteral("有开关"));
    EXPECT_EQ(fake->text(2), QStringLiteral("有开关"));
    EXPECT_TRUE(fake->text(3).contains(QStringLiteral("Line"))) << fake->text(3).toStdString();

    window.ListOutput->setCurrentItem(server);
    window.CommandTry->click();
    EXPECT_TRUE(waitUntil([&] { return window.LabelTry->text().startsWith("试听完成"); }))
        << window.LabelTry->text().toStdString();
    stopServer();
    window.CommandTry->click();
    EXPECT_TRUE(waitUntil([&] { return window.LabelTry->text().startsWith("试听失败："); }))
        << window.LabelTry->text().toStdString();
    ASSERT_TRUE(startServer());

    window.ListCard->setCurrentItem(fake);
    window.CommandOK->click();
    const SoundDevice chosen{QStringLiteral("pulsesink device=out"), QStringLiteral("fakecard")};
    EXPECT_EQ(applied, chosen);
    EXPECT_EQ(readSoundDevice(Settings(dir.path())), chosen);
    EXPECT_FALSE(window.isVisible());
    MediaPlayer player;
    EXPECT_EQ(player.sink(), chosen.output);
    player.setFileName(dir.file("ring.wav"));
    EXPECT_EQ(player.playState(), MediaControl::Playing);

    // Opened again, it shows what is stored.
    FormSoundDevice again(dir.path(), dir.file("ring.wav"), {});
    EXPECT_EQ(again.selection(), chosen);
}
