#include "PlayerWindow.h"

#include "MediaPlayer.h"
#include "common/AsRunLog.h"
#include "common/PowerNotice.h"
#include "common/ProgramFolder.h"
#include "common/SoundFiles.h"
#include "dialogs/FormSelectFiles.h"
#include "media/Playlist.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTimer>

namespace campanor {

PlayerWindow::PlayerWindow(Role role, PlayerContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), role_(role), context_(std::move(context)),
      settings_(context_.programFolder) {
    setObjectName(isFront() ? QStringLiteral("ReportPlayer") : QStringLiteral("FromPlayer"));
    setWindowTitle(isFront() ? QStringLiteral("前置播音器") : QStringLiteral("后置播音器"));
    // Not deleted on close by Qt: a box the window waits in must be answered first.
    MediaPlayer1 = context_.makeMedia ? context_.makeMedia(this) : new MediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    buildWidgets();
    buildMenus();
    connectControls();
    connectMedia();
    // An exit or a power action must not lose the seconds heard in a
    // memory-play run.
    const auto keepSeconds = [this] {
        if (Spot)
            flushMemory();
    };
    connect(qApp, &QCoreApplication::aboutToQuit, this, keepSeconds);
    connect(&PowerNotice::instance(), &PowerNotice::aboutToAct, this, keepSeconds);
}

PlayerWindow::~PlayerWindow() {
    if (picker_)
        picker_->close();
}

FormSelectFiles* PlayerWindow::picker() const {
    return picker_;
}

Prompter::Answer PlayerWindow::ask(const QString& text, Prompter::Icon icon,
                                   Prompter::Buttons buttons) {
    return waitIn([&] { return context_.prompter->message(this, text, icon, buttons); });
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
    PlayerPath = musicFolder();

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
        const QString named = DefaultListPath;
        const QString absent = absentFolderOf(named);
        DefaultListPath = settings_.path(file::PlayListFile + QStringLiteral("/Default.PLF"));
        // A list on a share or a stick not mounted yet is tried again next
        // time; a file that could not be read is left for the operator.
        if (!absent.isEmpty())
            reportProblem(QStringLiteral("默认曲目表 %1 所在的文件夹 %2 不存在，本次使用 %3")
                              .arg(named, absent, DefaultListPath));
        else if (stored.status != ReadStatus::Unreadable && !stored.lossy)
            settings_.writeText(file::DefaultPLF, DefaultListPath);
    }
    Command14->setToolTip(QStringLiteral("当前的默认曲目表是：") + DefaultListPath);
}

namespace {

// One line for each absent folder: a stick of a thousand songs not plugged
// in is one line, not a thousand.
void reportPassedOver(const QString& playlist, const QStringList& tracks) {
    QMap<QString, QStringList> byFolder;
    for (const QString& track : tracks)
        byFolder[absentFolderOf(track)] << track;
    constexpr qsizetype kNamed = 20;
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
        QString named = it.value().mid(0, kNamed).join(QStringLiteral(", "));
        if (it.value().size() > kNamed)
            named += QStringLiteral(" 等，另有 %1 首").arg(it.value().size() - kNamed);
        reportProblem(QStringLiteral("曲目表 %1：本次不播放 %2，所在的文件夹 %3 不存在，"
                                     "曲目仍留在表中")
                          .arg(playlist, named, it.key()));
    }
}

} // namespace

PlayerWindow::LoadResult PlayerWindow::LoadPlaylistText(const QString& path, bool cleanUp) {
    const RecordRead read = readPlaylistFile(path);
    PlayFileString = read.value;
    // A list read with bytes that are not GB18030 is never written back: its
    // tracks would all look missing and be dropped.
    QSet<QString> passedOver;
    if (read.status == ReadStatus::Ok && !read.lossy && cleanUp) {
        const MissingTracks missing = sortOutMissingFiles(PlayFileString);
        if (!missing.dropped.isEmpty() && writePlaylistFile(path, missing.text))
            PlayFileString = missing.text;
        for (const QString& track : missing.dropped)
            reportProblem(QStringLiteral("曲目表 %1：删去 %2，文件不存在").arg(path, track));
        reportPassedOver(path, missing.passedOver);
        passedOver = QSet<QString>(missing.passedOver.begin(), missing.passedOver.end());
    }
    // An unreadable file is left as it is on disk; the list shows what was read.
    listUnreadable_ = read.status == ReadStatus::Unreadable;
    FileOrder = splitPlaylistText(PlayFileString);
    if (!passedOver.isEmpty())
        FileOrder.removeIf([&](const QString& track) { return passedOver.contains(track); });
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
    // An announcement list with nothing in it ends at once, as one played
    // through would, or the back player would stay silenced under it.
    if (isFront() && List1->count() == 0) {
        finishList();
        return;
    }
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

} // namespace campanor
