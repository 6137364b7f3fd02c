#include "common/AsRunLog.h"
#include "fixtures/Audio.h"
#include "fixtures/PrivateSoundServer.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"
#include "players/MediaPlayer.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

// The server goes away while a long track plays and comes back on the same
// socket: the track goes on from where it was, a ring asked for meanwhile
// sounds once the server is back, and nothing is passed over as unplayable.
TEST_F(PrivateSoundServer, APlayerGoesOnFromWhereItWasWhenTheServerComesBack) {
    ASSERT_TRUE(writeTone(dir.file("long.wav"), 30));
    ASSERT_TRUE(writeTone(dir.file("ring.wav"), 3, 880));
    AsRunLog::open(dir.path());
    MediaPlayer player(nullptr, "pulsesink");
    QSignalSpy failures(&player, &MediaPlayer::failed);
    player.setFileName(dir.file("long.wav"));
    ASSERT_EQ(player.playState(), MediaControl::Playing);
    ASSERT_TRUE(waitUntil([&] { return player.currentPosition() >= 2.0; }, 8000));

    stopServer();
    ASSERT_TRUE(waitUntil([&] { return player.outputGone(); }, 5000));
    const double kept = player.currentPosition();
    EXPECT_GT(kept, 1.5);
    EXPECT_LT(kept, 4.0);
    MediaPlayer ring(nullptr, "pulsesink");
    ring.setFileName(dir.file("ring.wav"));
    ring.Play();
    EXPECT_TRUE(ring.outputGone());
    EXPECT_EQ(ring.playState(), MediaControl::Playing);
    // Several tries while the server is away.
    waitUntil([] { return false; }, 2500);
    EXPECT_EQ(player.currentPosition(), kept);

    ASSERT_TRUE(startServer());
    ASSERT_TRUE(waitUntil([&] { return !player.outputGone() && !ring.outputGone(); }, 5000));
    EXPECT_NEAR(player.currentPosition(), kept, 1.0) << "from where it was, not from the start";
    EXPECT_TRUE(waitUntil([&] { return player.currentPosition() > kept + 1.5; }, 5000))
        << "and it plays on";
    EXPECT_TRUE(waitUntil([&] { return ring.currentPosition() > 0.5; }, 5000));
    EXPECT_EQ(player.fileName(), dir.file("long.wav"));
    EXPECT_EQ(player.playState(), MediaControl::Playing);
    EXPECT_EQ(failures.count(), 0);

    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_EQ(text.count(QStringLiteral("声音输出中断（") + "pa_stream"), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("声音输出恢复：") + dir.file("long.wav")), 1)
        << text.toStdString();
}
