#include "PlayerWindow.h"

#include "common/AsRunLog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <cmath>

namespace campanor {

void PlayerWindow::connectMedia() {
    connect(MediaPlayer1, &MediaControl::endOfStream, this, [this] {
        // A track that played to its end breaks a run of unplayable ones.
        failuresInARow_ = 0;
        MediaPlayer1_EndOfStream();
    });
    // Queued: a file fails inside the call that opens it, and the handler
    // moves on to another track, which must not happen inside that call.
    connect(MediaPlayer1, &MediaControl::failed, this, &PlayerWindow::MediaPlayer1_Failed,
            Qt::QueuedConnection);
    connect(MediaPlayer1, &MediaControl::durationChanged, this, &PlayerWindow::refreshDuration);
    connect(MediaPlayer1, &MediaControl::nextStarted, this,
            &PlayerWindow::MediaPlayer1_NextStarted);
    for (QRadioButton* mode : {Option1, Option2, Option3})
        connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                queueNext();
        });
}

// ---- Current track --------------------------------------------------------

QString PlayerWindow::lineAt(int index) const {
    const QListWidgetItem* item = List1->item(index);
    return item ? item->text() : QString();
}

int PlayerWindow::currentIndex() const {
    return Text3->text().toInt();
}

void PlayerWindow::selectLine(int index) {
    if (index >= 0 && index < List1->count())
        List1->setCurrentRow(index);
}

void PlayerWindow::setCurrent(int index) {
    Text3->setText(QString::number(index));
    Text4->setText(QString::number(index + 1));
    selectLine(index);
}

void PlayerWindow::openTrack(const QString& path) {
    // The follower is named before the file opens: a short file is read to
    // its end while it opens, and asks for its follower then.
    queuedIndex_ = path.isEmpty() ? -1 : nextIndexAfter(currentIndex());
    MediaPlayer1->setNextFileName(playableLine(queuedIndex_));
    MediaPlayer1->setFileName(path);
    if (!path.isEmpty()) {
        Timer3->start();
    } else {
        Timer3->stop();
        const QSignalBlocker block(Slider1);
        Slider1->setValue(0);
        PositionLabel->setText(minutesAndSeconds(0));
    }
    refreshDuration();
}

QString PlayerWindow::minutesAndSeconds(double seconds) {
    // A track past the hour counts on in minutes: 75:03.
    const qint64 whole = seconds > 0 ? qint64(seconds) : 0;
    return QStringLiteral("%1:%2")
        .arg(whole / 60, 2, 10, QChar(u'0'))
        .arg(whole % 60, 2, 10, QChar(u'0'));
}

void PlayerWindow::closeTrack() {
    openTrack(QString());
}

void PlayerWindow::refreshDuration() {
    const double duration = MediaPlayer1->duration();
    SkinLabel10->setText(minutesAndSeconds(duration));
    if (duration > 0) {
        const QSignalBlocker block(Slider1);
        Slider1->setRange(0, int(std::lround(duration)));
        Slider1->setValue(int(std::lround(MediaPlayer1->currentPosition())));
    }
}

void PlayerWindow::Timer3_Timer() {
    const double position = MediaPlayer1->currentPosition();
    if (!Slider1->isSliderDown()) {
        const QSignalBlocker block(Slider1);
        Slider1->setValue(int(std::lround(position)));
    }
    PositionLabel->setText(minutesAndSeconds(position));
}

void PlayerWindow::showPlaying(bool playing) {
    Command5->setVisible(!playing);
    Command6->setVisible(playing);
}

// ---- Play and pause -------------------------------------------------------

void PlayerWindow::Command5_Click() {
    const int index = currentIndex();
    const QString track = lineAt(index);
    if (!track.isEmpty()) {
        showPlaying(true);
        Command15->setEnabled(false);
        Command16->setEnabled(false);
    }
    if (MediaPlayer1->fileName().isEmpty()) {
        if (track.isEmpty())
            return;
        openTrack(track);
        selectLine(index);
    } else {
        MediaPlayer1->Play();
        selectLine(index);
    }
}

void PlayerWindow::Command6_Click() {
    MediaPlayer1->Pause();
    Timer4->stop();
    if (Spot)
        flushMemory();
    MemoryTicks = 0;
    showPlaying(false);
    Command15->setEnabled(true);
    Command16->setEnabled(false);
}

// ---- The end of a track ---------------------------------------------------

int PlayerWindow::nextIndexAfter(int index) const {
    const int count = List1->count();
    if (count == 0)
        return -1;
    if (Option2->isChecked())
        return qBound(0, index, count - 1);
    if (Option3->isChecked())
        return index + 1 > count - 1 ? 0 : index + 1;
    return index + 1 <= count - 1 ? index + 1 : -1;
}

void PlayerWindow::queueNext() {
    if (MediaPlayer1->fileName().isEmpty())
        return;
    queuedIndex_ = nextIndexAfter(currentIndex());
    MediaPlayer1->setNextFileName(playableLine(queuedIndex_));
}

QString PlayerWindow::playableLine(int index) {
    // A file that cannot play is never handed over: its failure would cut
    // the end of the track before it. It is opened, and passed over, instead.
    const QString line = lineAt(index);
    return !line.isEmpty() && MediaPlayer1->durationOf(line) > 0 ? line : QString();
}

void PlayerWindow::MediaPlayer1_NextStarted(const QString& path) {
    failuresInARow_ = 0;
    int index = queuedIndex_;
    if (lineAt(index) != path) {
        // The list changed after the hand-over: follow the track by its path.
        const auto found = List1->findItems(path, Qt::MatchExactly);
        index = found.isEmpty() ? currentIndex() : List1->row(found.first());
    }
    setCurrent(index);
    refreshDuration();
    queueNext();
}

void PlayerWindow::MediaPlayer1_EndOfStream() {
    int index = currentIndex();
    if (Option2->isChecked()) {
        setCurrent(index);
        MediaPlayer1->Play();
        refreshDuration();
        queueNext();
        return;
    }
    ++index;
    Text3->setText(QString::number(index));
    Text4->setText(QString::number(index + 1));
    const int count = List1->count();
    if (Option3->isChecked()) {
        if (index > count - 1)
            index = 0;
        setCurrent(index);
        openTrack(lineAt(index));
        return;
    }
    if (index <= count - 1) {
        selectLine(index);
        openTrack(lineAt(index));
        return;
    }
    finishList();
}

void PlayerWindow::finishList() {
    MediaPlayer1->Stop();
    setCurrent(0);
    closeTrack();
    showPlaying(false);
    if (isFront())
        close();
}

void PlayerWindow::MediaPlayer1_Failed(const QString& path, const QString& message) {
    // A failure that arrives after the track was replaced is not this track's.
    if (closing_ || path.isEmpty() || MediaPlayer1->fileName() != path ||
        MediaPlayer1->playState() == MediaControl::Playing)
        return;
    reportProblem(windowTitle() + QStringLiteral("：无法播放，已跳过 ") + path +
                  QStringLiteral("（") + message + QStringLiteral("）"));
    ++failuresInARow_;
    // Every line failed in turn (or the one repeated line): the list has
    // nothing to play, and ends instead of trying again for ever.
    const int tries = Option2->isChecked() ? 1 : List1->count();
    if (failuresInARow_ >= tries) {
        failuresInARow_ = 0;
        finishList();
        return;
    }
    MediaPlayer1_EndOfStream();
}

} // namespace campanor
