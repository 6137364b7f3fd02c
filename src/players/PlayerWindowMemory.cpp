#include "PlayerWindow.h"

#include "media/Playlist.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <cmath>
#include <limits>

namespace campanor {

namespace {
// A crash or a power cut loses at most this many counted seconds.
constexpr qint64 kFlushEverySeconds = 30;
} // namespace

void PlayerWindow::flushMemory() {
    addToMemoryPosition(RealFileName, MemoryTicks);
    MemoryTicks = 0;
}

void PlayerWindow::Timer4_Timer() {
    ++MemoryTicks;
    Text6->setText(QString::number(Text6->text().toLongLong() + 1));
    if (Spot && MemoryTicks >= kFlushEverySeconds)
        flushMemory();
}

void PlayerWindow::Command15_Click() {
    if (Text2->text().toInt() <= 0 || MemoryHeld ||
        MediaPlayer1->playState() == MediaControl::Playing || Spot)
        return;
    Text7->setText(QStringLiteral("3"));
    Check3->hide();
    Check4->show();
    Check4->setEnabled(false);
    settings_.writeText(file::PlayOrder, QStringLiteral("1"));
    for (QWidget* w : std::initializer_list<QWidget*>{Command5, Command6, Option2, Option3, Slider1,
                                                      Text6, Command17, Command19, Command15})
        w->setEnabled(false);
    Command18->setEnabled(true);
    Command16->setEnabled(true);
    Option1->setChecked(true);
    Spot = true;
    MemoryTicks = 0;
    loadForPlay(false);

    const std::optional<int> stored = readMemoryPosition(RealFileName);
    const int count = List1->count();
    Text6->setText(QString::number(stored.value_or(0)));
    if (!stored) {
        writeMemoryPosition(RealFileName, 0);
        Check3->hide();
        Check4->show();
        Text3->setText(QStringLiteral("0"));
        selectLine(0);
        Text4->setText(count ? QStringLiteral("1") : QStringLiteral("0"));
        Command5_Click();
        Timer4->start();
        return;
    }
    if (count == 0)
        return;

    // The tracks already heard are measured, not played: only the track that
    // holds the remembered second is opened.
    qint64 remaining = *stored;
    int k = 0;
    for (; k < count; ++k) {
        const double duration = MediaPlayer1->durationOf(lineAt(k));
        if (!(duration < double(remaining)))
            break;
        remaining -= std::lround(duration);
    }
    if (k >= count) {
        // Beyond the whole list: begin it again rather than play nothing.
        writeMemoryPosition(RealFileName, 0);
        Text6->setText(QStringLiteral("0"));
        remaining = 0;
        k = 0;
    }
    // Silent until the seek lands, so that the track's start is not heard.
    const bool wasMuted = MediaPlayer1->mute();
    MediaPlayer1->setMute(true);
    setCurrent(k);
    openTrack(lineAt(k));
    showPlaying(true);
    if (remaining > 0)
        MediaPlayer1->setCurrentPosition(double(remaining));
    MediaPlayer1->setMute(wasMuted);
    Timer4->start();
    selectLine(currentIndex());
}

void PlayerWindow::Command16_Click() {
    if (Text7->text() != QStringLiteral("3"))
        return;
    Timer4->stop();
    MediaPlayer1->Stop();
    MemoryHeld = false;
    if (Spot)
        flushMemory();
    Spot = false;
    MemoryTicks = 0;
    showPlaying(false);
    // Both players give their play and pause buttons back here.
    for (QWidget* w : std::initializer_list<QWidget*>{Option2, Option3, Command5, Command6, Slider1,
                                                      Check4, Text6, Command17, Command15})
        w->setEnabled(true);
    Text7->setText(QStringLiteral("1"));
    for (QWidget* w : std::initializer_list<QWidget*>{Command18, Command19, Command16})
        w->setEnabled(false);
}

void PlayerWindow::Command17_Click() {
    bool whole = false;
    const qint64 value = Text6->text().trimmed().toLongLong(&whole);
    if (!whole || value < 0 || value > std::numeric_limits<qint32>::max()) {
        ask(QStringLiteral("记忆位置必须是以秒计的整数：") + Text6->text(),
            Prompter::Icon::Critical);
        return;
    }
    if (Text7->text() == QStringLiteral("3")) {
        MediaPlayer1->Stop();
        Spot = false;
        Timer4->stop();
        writeMemoryPosition(RealFileName, value);
        showPlaying(false);
        Command15->setEnabled(true);
        Command16->setEnabled(true);
        return;
    }
    writeMemoryPosition(RealFileName, value);
}

void PlayerWindow::Command18_Click() {
    if (Text7->text() != QStringLiteral("3"))
        return;
    Timer4->stop();
    for (QWidget* w : std::initializer_list<QWidget*>{Text6, Command17, Command15, Command18})
        w->setEnabled(false);
    Command19->setEnabled(true);
    if (MediaPlayer1->playState() == MediaControl::Playing)
        MediaPlayer1->Pause();
    MemoryHeld = true;
}

void PlayerWindow::Command19_Click() {
    if (Text7->text() != QStringLiteral("3"))
        return;
    Timer4->start();
    MemoryHeld = true;
    if (MediaPlayer1->playState() != MediaControl::Closed)
        MediaPlayer1->Play();
    for (QWidget* w : std::initializer_list<QWidget*>{Text6, Command17, Command19})
        w->setEnabled(false);
    Command18->setEnabled(true);
}

void PlayerWindow::playFrom(int track, double seconds) {
    if (track < 0 || track >= List1->count())
        return;
    // Silent until the seek lands, so that the track's start is not heard.
    const bool wasMuted = MediaPlayer1->mute();
    MediaPlayer1->setMute(true);
    setCurrent(track);
    openTrack(lineAt(track));
    showPlaying(true);
    if (seconds > 0)
        MediaPlayer1->setCurrentPosition(seconds);
    MediaPlayer1->setMute(wasMuted);
    selectLine(currentIndex());
}

QList<double> PlayerWindow::trackLengths() {
    QList<double> lengths;
    for (int k = 0; k < List1->count(); ++k)
        lengths << MediaPlayer1->durationOf(lineAt(k));
    return lengths;
}

} // namespace campanor
