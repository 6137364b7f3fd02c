#include "common/Prompter.h"
#include "fixtures/WaitUntil.h"
#include "players/PlayerFixture.h"

#include <QApplication>
#include <QMessageBox>

using namespace campanor;
using namespace campanor::test;

namespace {

// Real message boxes: a timer acts while the box waits, another answers it.
class ModalBoxes : public PlayerTest {
  protected:
    PlayerContext realBoxes() {
        PlayerContext c = context();
        c.prompter = &boxes;
        return c;
    }
    // While the next box waits: `during`, then the box is answered.
    void whileTheBoxWaits(const std::function<void()>& during) {
        QTimer::singleShot(100, [this, during] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            boxText = box ? box->text() : QString();
            during();
            boxOpenAfterClose = box && box->isVisible();
            QTimer::singleShot(100, [this] {
                if (box)
                    box->button(box->standardButtons().testFlag(QMessageBox::No) ? QMessageBox::No
                                                                                 : QMessageBox::Ok)
                        ->click();
            });
        });
    }
    QtPrompter boxes;
    QPointer<QMessageBox> box;
    QString boxText;
    bool boxOpenAfterClose = false;
};

} // namespace

TEST_F(ModalBoxes, ReplacingTheBackPlayerUnderItsBoxNeitherCrashesNorLosesTheBox) {
    PlayerWindow* w = load(PlayerWindow::Role::Back,
                           playlist("L.PLF", {track("a.mp3"), track("b.mp3")}), realBoxes());
    ASSERT_TRUE(w);
    w->show();
    w->Command7_Click();
    w->List1->setCurrentRow(0);
    // A scheduled stop of the back player comes while "cannot delete" waits.
    whileTheBoxWaits([w] { w->close(); });
    w->Command2_Click();
    EXPECT_EQ(boxText, QStringLiteral("不能删除正在播放的曲目!")) << "a real box was shown";
    EXPECT_TRUE(boxOpenAfterClose) << "closing the window left the box open";
    ASSERT_FALSE(back.isNull()) << "the window outlives its box";
    EXPECT_TRUE(back->isClosing());
    EXPECT_TRUE(media(w)->fileName().isEmpty()) << "it stopped when it closed";
    EXPECT_TRUE(waitUntil([&] { return back.isNull(); }, 3000)) << "and is deleted afterwards";
}

TEST_F(ModalBoxes, TheFrontEndingUnderItsClearBoxRestoresTheBack) {
    const QString music = playlist("Music.PLF", {track("a.mp3")});
    dir.write("PlayListFile/Music.PLF_Volume.txt", "3000\r\n");
    PlayerWindow* b = load(PlayerWindow::Role::Back, music);
    b->Command7_Click();
    const QString news = playlist("News.PLF", {track("c.mp3")});
    PlayerWindow* f = load(PlayerWindow::Role::Front, news, realBoxes());
    ASSERT_TRUE(f);
    f->show();
    f->Command7_Click();
    ASSERT_EQ(b->Slider2->value(), 0);
    // The announcement ends while "cannot clear while playing" waits.
    whileTheBoxWaits([f] { media(f)->finish(); });
    f->Command3_Click();
    EXPECT_EQ(boxText, QStringLiteral("系统播放状态,不能清空曲目!"));
    EXPECT_TRUE(boxOpenAfterClose);
    EXPECT_FALSE(f->OnPlay);
    EXPECT_EQ(b->Slider2->value(), 3000);
    EXPECT_FALSE(media(b)->mute());
    EXPECT_EQ(readRecord(news), "|" + track("c.mp3")) << "the list is not cleared";
    EXPECT_TRUE(waitUntil([&] { return front.isNull(); }, 3000));
}

TEST_F(ModalBoxes, AWindowClosedWhileItAsksAQuestionDoesNotCarryOutTheAnswer) {
    const QString plf = playlist("L.PLF", {track("a.mp3")}, 40);
    PlayerWindow* w = load(PlayerWindow::Role::Back, plf, realBoxes());
    ASSERT_TRUE(w);
    w->show();
    // "Clear everything?" is answered Yes after the window has gone.
    QTimer::singleShot(100, [this, w] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxText = box ? box->text() : QString();
        w->close();
        QTimer::singleShot(100, [this] {
            if (box)
                box->button(QMessageBox::Yes)->click();
        });
    });
    w->Command3_Click();
    EXPECT_EQ(boxText, QStringLiteral("要全部清空曲目吗?"));
    EXPECT_EQ(readRecord(plf), "|" + track("a.mp3"));
    EXPECT_EQ(readMemoryPosition(plf), 40);
}
