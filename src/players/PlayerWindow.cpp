#include "PlayerWindow.h"

#include "MediaPlayer.h"
#include "Playlist.h"
#include "VolumeFade.h"
#include "common/ProgramFolder.h"
#include "dialogs/FormSelectFiles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <cmath>

namespace campanor {

PlayerWindow::PlayerWindow(Role role, PlayerContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), role_(role), context_(std::move(context)),
      settings_(context_.programFolder) {
    setObjectName(isFront() ? QStringLiteral("ReportPlayer") : QStringLiteral("FromPlayer"));
    setWindowTitle(isFront() ? QStringLiteral("前置播音器") : QStringLiteral("后置播音器"));
    setAttribute(Qt::WA_DeleteOnClose);
    MediaPlayer1 = context_.makeMedia ? context_.makeMedia(this) : new MediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    buildWidgets();
    buildMenus();
    connectControls();
}

PlayerWindow::~PlayerWindow() {
    if (picker_)
        picker_->close();
}

// ---- Load ---------------------------------------------------------------

bool PlayerWindow::Form_Load() {
    if (isFront()) {
        OnPlay = true;
        duckBackPlayer();
    } else {
        onShow = true;
    }
    Command18->setEnabled(false);
    Command19->setEnabled(false);
    Command16->setEnabled(false);
    Spot = false;
    MemoryHeld = false;
    place();
    PlayerPath = QStringLiteral("/");

    const QString order = settings_.read(file::PlayOrder);
    if (order == QStringLiteral("1")) {
        Check3->hide();
        Text7->setText(QStringLiteral("1"));
    } else if (order == QStringLiteral("2")) {
        Check4->hide();
        Text7->setText(QStringLiteral("2"));
    }
    Text1->setText(QStringLiteral("0"));
    Text2->setText(QStringLiteral("0"));
    PlayFileString.clear();

    readDefaultPlaylist();
    RealFileName = PLFFile.isEmpty() ? DefaultListPath : PLFFile;
    Timer4->stop();
    // A list without a memory file simply starts at its beginning.
    Text6->setText(QString::number(readMemoryPosition(RealFileName).value_or(0)));
    MemoryTicks = 0;
    Command14->setEnabled(false);
    setLabels(RealFileName);

    if (LoadPlaylistText(RealFileName, true) == LoadResult::Missing) {
        close();
        return false;
    }
    if (order == QStringLiteral("1") || order == QStringLiteral("2"))
        fillList(order == QStringLiteral("2"));
    if (!FileOrder.isEmpty())
        PlayerPath = FileOrder.last();
    if (List1->count() == 0) {
        Text3->setText(QStringLiteral("-1"));
        Text4->setText(QStringLiteral("0"));
    } else {
        setCurrent(0);
        Text6->setText(QString::number(readMemoryPosition(RealFileName).value_or(0)));
    }
    applyListSettings(true);

    if (!isFront())
        startDuckedUnderFront();
    return true;
}

void PlayerWindow::readDefaultPlaylist() {
    const RecordRead stored = settings_.readChecked(file::DefaultPLF);
    DefaultListPath = stored.value;
    if (DefaultListPath.isEmpty() || !QFileInfo::exists(DefaultListPath)) {
        DefaultListPath = settings_.path(file::PlayListFile + QStringLiteral("/Default.PLF"));
        // A file that could not be read is left for the operator to look at.
        if (stored.status != ReadStatus::Unreadable && !stored.lossy)
            settings_.writeText(file::DefaultPLF, DefaultListPath);
    }
    Command14->setToolTip(QStringLiteral("当前的默认曲目表是：") + DefaultListPath);
}

PlayerWindow::LoadResult PlayerWindow::LoadPlaylistText(const QString& path, bool cleanUp) {
    const RecordRead read = readPlaylistFile(path);
    PlayFileString = read.value;
    // A list read with bytes that are not GB18030 is never written back: its
    // tracks would all look missing and be dropped.
    if (read.status == ReadStatus::Ok && !read.lossy && cleanUp) {
        const QString cleaned = withoutMissingFiles(PlayFileString);
        if (cleaned != PlayFileString && writePlaylistFile(path, cleaned))
            PlayFileString = cleaned;
    }
    // An unreadable file is left as it is on disk; the list shows what was read.
    FileOrder = splitPlaylistText(PlayFileString);
    ShuffledOrder = FileOrder;
    Text1->setText(QString::number(FileOrder.size()));
    Text2->setText(read.status == ReadStatus::Ok ? QStringLiteral("1") : QStringLiteral("0"));
    switch (read.status) {
    case ReadStatus::Missing:
        return LoadResult::Missing;
    case ReadStatus::Unreadable:
        return LoadResult::Unreadable;
    case ReadStatus::Ok:
        break;
    }
    return LoadResult::Ok;
}

void PlayerWindow::fillList(bool shuffled) {
    List1->clear();
    if (shuffled)
        ShuffledOrder = ShufflePlaylist(FileOrder);
    List1->addItems(shuffled ? ShuffledOrder : FileOrder);
}

void PlayerWindow::applyListSettings(bool fromSearchFolder) {
    Slider2->setValue(5000);
    Slider3->setValue(0);
    if (fromSearchFolder && context_.memPath && !context_.memPath->isEmpty()) {
        const QString folder = *context_.memPath;
        if (const auto volume =
                readSliderFile(joinPath(folder, QStringLiteral("Volume.txt")), 0, 5000))
            Slider2->setValue(*volume);
        if (const auto balance =
                readSliderFile(joinPath(folder, QStringLiteral("Balance.txt")), -10000, 10000))
            Slider3->setValue(*balance);
        context_.memPath->clear();
        return;
    }
    Slider2->setValue(readSliderFile(volumeFileOf(RealFileName), 0, 5000).value_or(5000));
    Slider3->setValue(readSliderFile(balanceFileOf(RealFileName), -10000, 10000).value_or(0));
}

void PlayerWindow::setLabels(const QString& path) {
    SkinLabel1->setText(QStringLiteral("文件:") + QFileInfo(path).fileName());
    SkinLabel1->setToolTip(QStringLiteral("当前曲目表：") + path);
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
    MediaPlayer1->setFileName(path);
    if (!path.isEmpty()) {
        Timer3->start();
        return;
    }
    Timer3->stop();
    const QSignalBlocker block(Slider1);
    Slider1->setValue(0);
    PositionLabel->setText(QStringLiteral("0"));
}

void PlayerWindow::closeTrack() {
    openTrack(QString());
}

void PlayerWindow::refreshDuration() {
    const double duration = MediaPlayer1->duration();
    SkinLabel10->setText(QString::number(qint64(duration)));
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
    PositionLabel->setText(QString::number(qint64(position)));
}

void PlayerWindow::Timer4_Timer() {
    ++MemoryTicks;
    Text6->setText(QString::number(Text6->text().toLongLong() + 1));
}

void PlayerWindow::showPlaying(bool playing) {
    Command5->setVisible(!playing);
    Command6->setVisible(playing);
}

void PlayerWindow::flushMemory() {
    addToMemoryPosition(RealFileName, MemoryTicks);
    MemoryTicks = 0;
}

// ---- Play entries ---------------------------------------------------------

void PlayerWindow::loadForPlay(bool shuffled) {
    // Started without a list of its own, a player plays the default list.
    if (PLFFile.isEmpty())
        PLFFile = DefaultListPath;
    Command14->setEnabled(!samePathIgnoringCase(PLFFile, DefaultListPath));
    RealFileName = PLFFile;
    setLabels(RealFileName);
    LoadPlaylistText(RealFileName, true);
    closeTrack();
    fillList(shuffled);
    if (!FileOrder.isEmpty())
        PlayerPath = FileOrder.last();
}

void PlayerWindow::playFromTheTop(bool shuffled) {
    loadForPlay(shuffled);
    // The visible box offers the order the list is not in.
    Check3->setHidden(!shuffled);
    Check4->setHidden(shuffled);
    Text3->setText(QStringLiteral("0"));
    selectLine(0);
    Text4->setText(List1->count() ? QStringLiteral("1") : QStringLiteral("0"));
    Command5_Click();
}

void PlayerWindow::Command7_Click() {
    playFromTheTop(false);
}

void PlayerWindow::Command13_Click() {
    playFromTheTop(true);
}

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
        refreshDuration();
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

void PlayerWindow::MediaPlayer1_EndOfStream() {
    int index = currentIndex();
    if (Option2->isChecked()) {
        setCurrent(index);
        MediaPlayer1->Play();
        refreshDuration();
        return;
    }
    ++index;
    Text3->setText(QString::number(index));
    Text4->setText(QString::number(index + 1));
    const int count = List1->count();
    if (Option3->isChecked()) {
        if (index > count - 1)
            index = 0;
        openTrack(lineAt(index));
        setCurrent(index);
        refreshDuration();
        return;
    }
    if (index <= count - 1) {
        openTrack(lineAt(index));
        selectLine(index);
        refreshDuration();
        return;
    }
    // The list has played to its end.
    MediaPlayer1->Stop();
    setCurrent(0);
    closeTrack();
    refreshDuration();
    showPlaying(false);
    if (isFront())
        close();
}

// ---- Memory play ------------------------------------------------------------

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

    // Skip silently through the tracks already heard.
    const bool wasMuted = MediaPlayer1->mute();
    MediaPlayer1->setMute(true);
    qint64 remaining = *stored;
    int k = 0;
    Text3->setText(QStringLiteral("0"));
    openTrack(lineAt(0));
    refreshDuration();
    while (k < count && MediaPlayer1->duration() < remaining) {
        remaining -= std::lround(MediaPlayer1->duration());
        ++k;
        if (k < count) {
            openTrack(lineAt(k));
            setCurrent(k);
            refreshDuration();
        }
    }
    if (k >= count) {
        // Beyond the whole list: begin it again rather than play nothing.
        writeMemoryPosition(RealFileName, 0);
        Text6->setText(QStringLiteral("0"));
        remaining = 0;
        openTrack(lineAt(0));
        setCurrent(0);
        refreshDuration();
    }
    showPlaying(true);
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
    const qint64 value = Text6->text().trimmed().toLongLong();
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

// ---- Front and back -------------------------------------------------------

void PlayerWindow::fadeVolumeTo(int target) {
    fadeSlider(Slider2, target, context_.fadeMs);
}

void PlayerWindow::startDuckedUnderFront() {
    PlayerWindow* front = context_.frontPlayer ? context_.frontPlayer() : nullptr;
    if (!front || !front->OnPlay)
        return;
    // No fade: this list has not been heard yet. The front gives the volume back.
    front->myv = Slider2->value();
    Slider2->setValue(0);
    MediaPlayer1->setMute(true);
}

void PlayerWindow::duckBackPlayer() {
    PlayerWindow* back = context_.backPlayer ? context_.backPlayer() : nullptr;
    if (!back)
        return;
    myv = back->Slider2->value();
    back->fadeVolumeTo(0);
    back->MediaPlayer1->setMute(true);
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    if (Spot)
        flushMemory();
    Timer3->stop();
    Timer4->stop();
    if (MediaPlayer1->playState() == MediaControl::Playing)
        fadeVolumeTo(0);
    if (isFront()) {
        MediaPlayer1->setMute(true);
        PlayerWindow* back = context_.backPlayer ? context_.backPlayer() : nullptr;
        if (back && back->onShow) {
            back->MediaPlayer1->setMute(back->Check1->isChecked());
            back->fadeVolumeTo(myv);
        }
        OnPlay = false;
    } else {
        onShow = false;
    }
    closeTrack();
    if (picker_)
        picker_->close();
    event->accept();
}

} // namespace campanor

namespace campanor {
FormSelectFiles* PlayerWindow::picker() const {
    return picker_;
}
} // namespace campanor
