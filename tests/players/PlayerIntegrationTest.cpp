#include "fixtures/Audio.h"
#include "fixtures/WaitUntil.h"
#include "players/MediaPlayer.h"
#include "players/PlayerFixture.h"

using namespace campanor;
using namespace campanor::test;

// A whole list on real GStreamer (silent sink), with short generated files.
TEST_F(PlayerTest, AWholeListPlaysThroughOnGStreamer) {
    QStringList tracks;
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.file(QStringLiteral("music/tone%1.wav").arg(i));
        ASSERT_TRUE(writeTone(path, 0.4, 440 + 110 * i));
        tracks << path;
    }
    PlayerContext c = context();
    c.makeMedia = nullptr; // the real player
    PlayerWindow* w = load(PlayerWindow::Role::Front, playlist("Real.PLF", tracks), c);
    ASSERT_TRUE(w);
    // Which file is open, sampled while the list plays.
    QStringList played;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (!front)
            return;
        const QString open = w->MediaPlayer1->fileName();
        if (!open.isEmpty() && (played.isEmpty() || played.last() != open))
            played << open;
    });
    sampler.start(10);
    w->Command7_Click();
    EXPECT_NEAR(w->MediaPlayer1->duration(), 0.4, 0.05);
    EXPECT_TRUE(w->Timer3->isActive());
    // The front player closes itself at the end of its list.
    ASSERT_TRUE(waitUntil([&] { return !front || !w->OnPlay; }, 10000));
    EXPECT_EQ(played, tracks);
}
