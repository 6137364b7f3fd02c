#include "players/PlayerFixture.h"

#include <QElapsedTimer>

using namespace campanor;
using namespace campanor::test;

using Ducking = PlayerTest;

namespace {

// Every value a slider passed through, in order.
QList<int> record(QSlider* slider, QList<int>& values) {
    QObject::connect(slider, &QSlider::valueChanged, [&values](int v) { values << v; });
    return values;
}

bool passesEveryValue(const QList<int>& values, int from, int to) {
    QList<int> expected;
    for (int v = from; v != to; v += (to > from ? 1 : -1))
        expected << v + (to > from ? 1 : -1);
    return values == expected;
}

} // namespace

TEST_F(Ducking, FrontFadesTheBackDownAndGivesItsVolumeBack) {
    fadeMs = 300;
    const QString music = playlist("Music.PLF", {track("a.mp3"), track("b.mp3")});
    dir.write("PlayListFile/Music.PLF_Volume.txt", "4000\r\n");
    PlayerWindow* b = load(PlayerWindow::Role::Back, music);
    b->Command7_Click();
    ASSERT_EQ(b->Slider2->value(), 4000);

    QList<int> down;
    record(b->Slider2, down);
    PlayerWindow* f = load(PlayerWindow::Role::Front, playlist("News.PLF", {track("c.mp3")}));
    EXPECT_TRUE(passesEveryValue(down, 4000, 0)) << down.size();
    EXPECT_TRUE(media(b)->mute());
    EXPECT_EQ(f->myv, 4000);
    EXPECT_EQ(media(b)->volume(), -5000);
    f->Command7_Click();

    QList<int> up;
    QObject::disconnect(b->Slider2, &QSlider::valueChanged, nullptr, nullptr);
    QObject::connect(b->Slider2, &QSlider::valueChanged, b,
                     [b](int v) { b->MediaPlayer1->setVolume(v - 5000); });
    record(b->Slider2, up);
    f->close();
    EXPECT_FALSE(media(b)->mute());
    EXPECT_EQ(b->Slider2->value(), 4000);
    EXPECT_EQ(media(b)->volume(), -1000);
    EXPECT_TRUE(passesEveryValue(up, 0, 4000));
    EXPECT_TRUE(media(f)->mute());
    EXPECT_FALSE(f->OnPlay);
}

TEST_F(Ducking, ABackPlayerStartedUnderTheFrontStartsSilentAndComesUpLater) {
    fadeMs = 50;
    PlayerWindow* f = load(PlayerWindow::Role::Front, playlist("News.PLF", {track("c.mp3")}));
    f->Command7_Click();
    const QString music = playlist("Music.PLF", {track("a.mp3")});
    dir.write("PlayListFile/Music.PLF_Volume.txt", "3500\r\n");
    PlayerWindow* b = load(PlayerWindow::Role::Back, music);
    EXPECT_EQ(b->Slider2->value(), 0);
    EXPECT_TRUE(media(b)->mute());
    EXPECT_EQ(f->myv, 3500);
    b->Command7_Click();
    // The front list ends: the front player closes itself and restores the back.
    media(f)->finish();
    EXPECT_FALSE(f->OnPlay);
    EXPECT_EQ(b->Slider2->value(), 3500);
    EXPECT_FALSE(media(b)->mute());
}

TEST_F(Ducking, AFrontPlayerAloneClosesWithoutTouchingAnything) {
    fadeMs = 50;
    PlayerWindow* f = load(PlayerWindow::Role::Front, playlist("News.PLF", {track("c.mp3")}));
    f->Command7_Click();
    f->close();
    EXPECT_TRUE(media(f)->fileName().isEmpty());
}

TEST_F(Ducking, AFadeTakesItsFixedTimeWhateverTheRange) {
    fadeMs = 1500;
    PlayerWindow* b = load(PlayerWindow::Role::Back, playlist("Music.PLF", {track("a.mp3")}));
    for (const int from : {5000, 300}) {
        b->Slider2->setValue(from);
        QElapsedTimer timer;
        timer.start();
        b->fadeVolumeTo(0);
        const qint64 elapsed = timer.elapsed();
        EXPECT_GE(elapsed, 1400) << from;
        EXPECT_LE(elapsed, 2500) << from;
        EXPECT_EQ(b->Slider2->value(), 0);
    }
}
