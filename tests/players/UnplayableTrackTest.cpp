#include "fixtures/WaitUntil.h"
#include "players/PlayerFixture.h"

using namespace campanor;
using namespace campanor::test;

namespace {

class UnplayableTracks : public PlayerTest {
  protected:
    // A playing back player over a, a bad track, c.
    PlayerWindow* playWithBadMiddle(QRadioButton* PlayerWindow::*mode) {
        bad = dir.file("music/bad.mp3");
        dir.write("music/bad.mp3", "");
        PlayerWindow* w = load(PlayerWindow::Role::Back,
                               playlist("L.PLF", {track("a.mp3"), bad, track("c.mp3")}));
        media(w)->unplayable << bad;
        (w->*mode)->setChecked(true);
        w->Command7_Click();
        return w;
    }
    // Lets the queued failure reports arrive.
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    QString bad;
};

} // namespace

TEST_F(UnplayableTracks, ABadTrackIsPassedOverInEachLoopMode) {
    testing::internal::CaptureStderr();
    PlayerWindow* w = playWithBadMiddle(&PlayerWindow::Option1);
    ScriptedMedia* m = media(w);
    m->finish();
    settle();
    EXPECT_EQ(m->fileName(), track("c.mp3")) << "play to the end";
    EXPECT_EQ(w->Text4->text(), "3");
    EXPECT_TRUE(w->Command5->isHidden());
    m->finish();
    EXPECT_TRUE(m->fileName().isEmpty());
    EXPECT_FALSE(w->Command5->isHidden());
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(bad.toStdString()), std::string::npos) << report;

    PlayerWindow* whole = playWithBadMiddle(&PlayerWindow::Option3);
    media(whole)->finish();
    settle();
    EXPECT_EQ(media(whole)->fileName(), track("c.mp3")) << "repeat the list";
    media(whole)->finish();
    EXPECT_EQ(media(whole)->fileName(), track("a.mp3"));

    // Repeating one track that cannot play would spin: the list ends instead.
    PlayerWindow* one = playWithBadMiddle(&PlayerWindow::Option2);
    one->List1->setCurrentRow(1);
    one->List1_DblClick();
    settle();
    EXPECT_TRUE(media(one)->fileName().isEmpty());
    EXPECT_FALSE(one->Command5->isHidden()) << "the play button is back";
    EXPECT_EQ(media(one)->opened.count(bad), 1);
}

TEST_F(UnplayableTracks, AListOfOnlyBadTracksEndsInsteadOfSpinning) {
    QStringList tracks;
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3"}) {
        dir.write(QStringLiteral("music/%1").arg(QLatin1String(name)), "");
        tracks << track(name);
    }
    PlayerWindow* w = load(PlayerWindow::Role::Back, playlist("Bad.PLF", tracks));
    media(w)->unplayable = tracks;
    w->Option3->setChecked(true);
    testing::internal::CaptureStderr();
    w->Command7_Click();
    ASSERT_TRUE(waitUntil([&] { return media(w)->fileName().isEmpty(); }, 3000));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(media(w)->opened.filter(QStringLiteral(".mp3")).size(), 3) << "each tried once";
    EXPECT_FALSE(w->Command5->isHidden());
    EXPECT_EQ(w->Text3->text(), "0");
}

TEST_F(UnplayableTracks, AFrontListOfBadTracksClosesAndGivesTheBackItsVolume) {
    const QString music = playlist("Music.PLF", {track("a.mp3")});
    dir.write("PlayListFile/Music.PLF_Volume.txt", "4000\r\n");
    PlayerWindow* b = load(PlayerWindow::Role::Back, music);
    b->Command7_Click();
    dir.write("music/news.mp3", "");
    PlayerWindow* f = load(PlayerWindow::Role::Front, playlist("News.PLF", {track("news.mp3")}));
    ASSERT_TRUE(media(b)->mute());
    media(f)->unplayable << track("news.mp3");
    testing::internal::CaptureStderr();
    f->Command7_Click();
    ASSERT_TRUE(waitUntil([&] { return !front || !front->OnPlay; }, 3000));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(b->Slider2->value(), 4000);
    EXPECT_FALSE(media(b)->mute());
}
