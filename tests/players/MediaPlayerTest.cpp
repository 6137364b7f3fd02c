#include "players/MediaPlayer.h"
#include "fixtures/Audio.h"
#include "fixtures/TempFolder.h"
#include "media/FolderWalk.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

namespace {

class MediaPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tone = dir.file("tone.wav");
        ASSERT_TRUE(test::writeTone(tone, 0.6));
    }
    TempFolder dir;
    QString tone;
};

} // namespace

TEST_F(MediaPlayerTest, OpeningStartsAtOnceWithItsDurationKnown) {
    MediaPlayer player;
    EXPECT_EQ(player.playState(), MediaPlayer::Closed);
    EXPECT_TRUE(player.fileName().isEmpty());
    player.setFileName(tone);
    EXPECT_EQ(player.fileName(), tone);
    EXPECT_NEAR(player.duration(), 0.6, 0.05);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

TEST_F(MediaPlayerTest, EndOfStreamOnceThenPlayRestartsFromTheStart) {
    MediaPlayer player;
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    player.setFileName(tone);
    ASSERT_TRUE(ends.wait(5000));
    QTest::qWait(300);
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.fileName(), tone);

    player.Play();
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
    EXPECT_LT(player.currentPosition(), 0.3);
    ASSERT_TRUE(ends.wait(5000));
    EXPECT_EQ(ends.count(), 2);
}

TEST_F(MediaPlayerTest, SettingTheSameFileAgainRestartsIt) {
    MediaPlayer player;
    player.setFileName(tone);
    QTest::qWait(350);
    EXPECT_GT(player.currentPosition(), 0.15);
    player.setFileName(tone);
    EXPECT_LT(player.currentPosition(), 0.15);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

TEST_F(MediaPlayerTest, PauseHoldsStopKeepsTheFileAndSeekMoves) {
    const QString longer = dir.file("long.wav");
    ASSERT_TRUE(test::writeTone(longer, 3.0));
    MediaPlayer player;
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    player.setFileName(longer);
    player.setCurrentPosition(2.0);
    QTest::qWait(100);
    EXPECT_NEAR(player.currentPosition(), 2.1, 0.3);

    player.Pause();
    EXPECT_EQ(player.playState(), MediaPlayer::Paused);
    const double held = player.currentPosition();
    QTest::qWait(200);
    EXPECT_NEAR(player.currentPosition(), held, 0.02);

    player.Stop();
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.fileName(), longer);
    EXPECT_LT(player.currentPosition(), 0.05);
    QTest::qWait(200);
    EXPECT_EQ(ends.count(), 0);

    player.setFileName(QString());
    EXPECT_EQ(player.playState(), MediaPlayer::Closed);
    EXPECT_EQ(player.currentPosition(), 0);
}

TEST_F(MediaPlayerTest, VolumeBalanceAndMuteSetBeforeOpeningApplyAfterwards) {
    MediaPlayer player;
    player.setVolume(-5000);
    player.setBalance(-10000);
    player.setMute(true);
    player.setFileName(tone);
    EXPECT_EQ(player.volume(), -5000);
    EXPECT_EQ(player.balance(), -10000);
    EXPECT_TRUE(player.mute());
    // Out-of-range values are held at the ends.
    player.setBalance(20000);
    EXPECT_EQ(player.balance(), 10000);
    player.setVolume(300);
    EXPECT_EQ(player.volume(), 0);
}

TEST_F(MediaPlayerTest, MissingAndNonAudioFilesFailQuietly) {
    MediaPlayer player;
    QSignalSpy failures(&player, &MediaPlayer::failed);
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    player.setFileName(dir.file("missing.mp3"));
    EXPECT_EQ(player.duration(), 0);
    EXPECT_NE(player.playState(), MediaPlayer::Playing);

    dir.write("notes.mp3", "this is not sound at all, just text pretending to be mp3");
    player.setFileName(dir.file("notes.mp3"));
    EXPECT_EQ(player.duration(), 0);
    QTest::qWait(200);
    EXPECT_GE(failures.count(), 2);
    EXPECT_EQ(ends.count(), 0);

    // The player still works afterwards.
    player.setFileName(tone);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

TEST_F(MediaPlayerTest, ShippedChimeDecodesAsMp3) {
    const QString chime = qEnvironmentVariable("CAMPANOR_ASSETS") + "/timeup.mp3";
    if (!QFile::exists(chime))
        GTEST_SKIP() << "assets not found";
    MediaPlayer player;
    player.setFileName(chime);
    EXPECT_NEAR(player.duration(), 2.5, 0.2);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
}

TEST_F(MediaPlayerTest, TodaysFormatsPlayAndTheFolderSearchFindsThem) {
    const std::pair<const char*, const char*> formats[] = {
        {"a.flac", "flacenc"},
        {"b.OGG", "audioconvert ! vorbisenc ! oggmux"},
        {"c.oga", "audioconvert ! vorbisenc ! oggmux"},
        {"d.Opus", "audioresample ! opusenc ! oggmux"},
        {"e.m4a", "audioconvert ! avenc_aac ! mp4mux"},
        {"f.AAC", "audioconvert ! avenc_aac ! aacparse ! audio/mpeg,stream-format=adts"},
        {"g.wv", "audioconvert ! wavpackenc"}};
    QStringList written;
    QDir().mkpath(dir.file(QStringLiteral("today")));
    for (const auto& [name, encoder] : formats) {
        const QString path = dir.file(QStringLiteral("today/") + QLatin1String(name));
        ASSERT_TRUE(test::writeEncodedTone(path, 0.5, encoder)) << name;
        written << path;
    }
    for (const QString& path : written) {
        MediaPlayer player;
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        QSignalSpy failures(&player, &MediaPlayer::failed);
        player.setFileName(path);
        EXPECT_EQ(player.playState(), MediaPlayer::Playing) << path.toStdString();
        EXPECT_NEAR(player.duration(), 0.5, 0.1) << path.toStdString();
        EXPECT_TRUE(ends.wait(5000)) << path.toStdString();
        EXPECT_EQ(failures.count(), 0) << path.toStdString();
    }
    const auto found = FolderWalk::walk(dir.file(QStringLiteral("today")));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files, written);
}
