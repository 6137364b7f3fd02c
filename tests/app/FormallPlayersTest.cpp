#include "app/FormallFixture.h"
#include "fixtures/ScriptedMedia.h"
#include "media/Playlist.h"

#include <QLineEdit>
#include <QListWidget>

using namespace campanor;
using namespace campanor::test;

namespace {

class FormallPlayers : public FormallTest {
  protected:
    std::unique_ptr<Formall> startWithPlayers() {
        durations.clear();
        useScriptedMedia();
        auto w = start();
        for (const char* name : {"a.mp3", "b.mp3"})
            dir.write(QStringLiteral("music/%1").arg(QLatin1String(name)), "x");
        return w;
    }
    QString list(const QString& name, const QStringList& names) {
        QStringList tracks;
        for (const QString& n : names)
            tracks << dir.file("music/" + n);
        dir.write("PlayListFile/" + name, TempFolder::quoted(joinPlaylistText(tracks)));
        writeMemoryPosition(dir.file("PlayListFile/" + name), 0);
        return dir.file("PlayListFile/" + name);
    }
};

} // namespace

TEST_F(FormallPlayers, StartingABackListReplacesTheWindowAndPlays) {
    auto w = startWithPlayers();
    const QString morning = list("Morning.PLF", {"a.mp3", "b.mp3"});
    w->DispatchAction(QStringLiteral("07:30:00*没有注释>星期一<播音开-静态") + morning);
    PlayerWindow* first = w->backPlayer();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->PLFFile, morning);
    EXPECT_EQ(first->Text7->text(), "1");
    EXPECT_EQ(media(first)->fileName(), dir.file("music/a.mp3"));
    EXPECT_TRUE(first->isVisible());

    w->DispatchAction(QStringLiteral("07:31:00*没有注释>每天<播音开-动态") + morning);
    PlayerWindow* second = w->backPlayer();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Text7->text(), "2");
    EXPECT_EQ(media(second)->fileName(), dir.file("music/b.mp3"));
    EXPECT_TRUE(media(first)->fileName().isEmpty()) << "the old window stopped";

    w->DispatchAction(QStringLiteral("07:32:00*没有注释>每天<播音开-记忆静态播放") + morning);
    EXPECT_EQ(w->backPlayer()->Text7->text(), "3");
    EXPECT_TRUE(w->backPlayer()->Spot);

    w->DispatchAction(QStringLiteral("08:00:00*没有注释>每天<后置关"));
    EXPECT_EQ(w->backPlayer(), nullptr);
}

TEST_F(FormallPlayers, FrontPlayerDucksAndClosingItRestores) {
    auto w = startWithPlayers();
    w->DispatchAction(QStringLiteral("08:00:00*x>每天<前置关")); // none open: nothing happens
    w->DispatchAction(QStringLiteral("08:00:00*x>每天<播音开-静态") +
                      list("Morning.PLF", {"a.mp3"}));
    PlayerWindow* back = w->backPlayer();
    back->Slider2->setValue(4000);
    w->DispatchAction(QStringLiteral("08:00:01*x>每天<前置播音") + list("News.PLF", {"b.mp3"}));
    ASSERT_NE(w->frontPlayer(), nullptr);
    EXPECT_EQ(w->frontPlayer()->objectName(), "ReportPlayer");
    EXPECT_TRUE(media(back)->mute());
    EXPECT_EQ(back->Slider2->value(), 0);
    w->DispatchAction(QStringLiteral("08:00:02*x>每天<前置关"));
    EXPECT_EQ(w->frontPlayer(), nullptr);
    EXPECT_FALSE(media(back)->mute());
    EXPECT_EQ(back->Slider2->value(), 4000);
}

TEST_F(FormallPlayers, AMissingPlaylistStartsNothing) {
    auto w = startWithPlayers();
    EXPECT_THROW(w->DispatchAction(QStringLiteral("08:00:00*x>每天<播音开-静态") +
                                   dir.file("PlayListFile/Gone.PLF")),
                 std::runtime_error)
        << "the instruction failed";
    EXPECT_EQ(w->backPlayer(), nullptr);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(FormallPlayers, MenuItemsShowThePlayersOnTheDefaultList) {
    auto w = startWithPlayers();
    w->findChild<QAction*>("Player")->trigger();
    ASSERT_NE(w->backPlayer(), nullptr);
    EXPECT_EQ(w->backPlayer()->RealFileName, dir.file("PlayListFile/Default.PLF"));
    PlayerWindow* shown = w->backPlayer();
    w->Player_Click();
    EXPECT_EQ(w->backPlayer(), shown) << "an open player is only brought forward";
    w->findChild<QAction*>("ReportPlayerNew")->trigger();
    ASSERT_NE(w->frontPlayer(), nullptr);
    EXPECT_TRUE(w->frontPlayer()->OnPlay);
    prompter.answers = {Prompter::Answer::Yes};
    w->close();
    EXPECT_EQ(w->frontPlayer(), nullptr);
    EXPECT_EQ(w->backPlayer(), nullptr);
}
