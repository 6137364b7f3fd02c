#include "PlayerWindow.h"

#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/WindowPlacement.h"
#include "dialogs/FormSelectFiles.h"
#include "media/Playlist.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace campanor {

namespace {
const QString kEmptyListForFolder = QStringLiteral(
    "曲目表为空，操作不能进行。请在曲目表中加入要搜索的文件夹中的曲目，再进行本操作！");

QString withPlaylistSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".PLF") : path;
}
} // namespace

// ---- Common steps -----------------------------------------------------------

void PlayerWindow::reshowList() {
    const bool shuffled = Check4->isHidden() && !Check3->isHidden();
    fillList(shuffled);
    if (!FileOrder.isEmpty())
        PlayerPath = FileOrder.last();
}

void PlayerWindow::prepareForAnotherList() {
    if (MediaPlayer1->playState() == MediaControl::Playing) {
        MediaPlayer1->Stop();
        showPlaying(false);
    }
    if (Spot)
        flushMemory();
    Timer4->stop();
    MemoryTicks = 0;
    Spot = false;
    Text6->setEnabled(true);
    Command17->setEnabled(true);
    Command15->setEnabled(true);
    Command18->setEnabled(false);
    Command19->setEnabled(false);
    Command16->setEnabled(false);
    Command16_Click();
}

void PlayerWindow::adoptNewList(const QString& path) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{Option2, Option3, Command5, Command6, Slider1})
        w->setEnabled(true);
    if (Text7->text() == QStringLiteral("3")) {
        Check4->setEnabled(true);
        Text7->setText(QStringLiteral("1"));
    }
    Slider2->setValue(5000);
    Slider3->setValue(0);
    Command14->setEnabled(!samePathIgnoringCase(path, DefaultListPath));
    setLabels(path);
    // The track of the previous list must not be resumed by the play button.
    closeTrack();
}

void PlayerWindow::rewriteAndReload(const QString& text, const QString& keepCurrent) {
    // A failed write leaves the stored list as it was; the view follows the file.
    writePlaylistFile(RealFileName, text);
    LoadPlaylistText(RealFileName, false);
    reshowList();
    if (List1->count() == 0) {
        closeTrack();
        Text3->setText(QStringLiteral("-1"));
        Text4->setText(QStringLiteral("0"));
        return;
    }
    const auto found = List1->findItems(keepCurrent, Qt::MatchExactly);
    const int index =
        found.isEmpty() ? qBound(0, currentIndex(), List1->count() - 1) : List1->row(found.first());
    setCurrent(index);
    queueNext();
}

// ---- List editing -------------------------------------------------------------

void PlayerWindow::Command1_Click() {
    if (refuseUnreadableList())
        return;
    // A closed picker is on its way out: each add loads a fresh one.
    if (!picker_ || picker_->isHidden()) {
        picker_ = new FormSelectFiles(
            isFront() ? QStringLiteral("FormSelectFilesB") : QStringLiteral("FormSelectFiles"),
            PlayerPath, settings_.read(file::SkinFile), context_.prompter, this);
        connect(picker_, &FormSelectFiles::filesChosen, this, [this](const QString& chosen) {
            SelectFilesString = chosen;
            AddSelectFiles();
        });
        centreOver(picker_, this);
    }
    picker_->show();
    picker_->raise();
}

void PlayerWindow::AddSelectFiles() {
    const QString current = lineAt(currentIndex());
    if (PlayerPath.isEmpty())
        PlayerPath = context_.programFolder;
    if (SelectFilesString.isEmpty() || refuseUnreadableList())
        return;
    // The playlist format cannot hold a quotation mark; the picker refuses
    // such names, and none may slip through to void the whole write.
    QStringList added = splitPlaylistText(SelectFilesString);
    added.removeIf([](const QString& path) { return !storableInPlaylist(path); });
    if (added.isEmpty())
        return;
    rewriteAndReload(PlayFileString + joinPlaylistText(added), current);
}

bool PlayerWindow::refuseUnreadableList() {
    if (!listUnreadable_)
        return false;
    ask(QStringLiteral("曲目表无法读取，不能修改：") + RealFileName, Prompter::Icon::Critical);
    return true;
}

void PlayerWindow::Command2_Click() {
    if (refuseUnreadableList())
        return;
    const QString current = lineAt(currentIndex());
    const QListWidgetItem* selectedItem = List1->currentItem();
    const QString selected = selectedItem ? selectedItem->text() : QString();
    if (selected == current && Command5->isHidden()) {
        ask(QStringLiteral("不能删除正在播放的曲目!"), Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    if (!selectedItem) {
        ask(QStringLiteral("请选择要删除的曲目"), Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    if (selected == current)
        closeTrack();
    rewriteAndReload(removeTrack(PlayFileString, selected), current);
}

void PlayerWindow::Command3_Click() {
    if (refuseUnreadableList())
        return;
    if (Command5->isHidden()) {
        ask(QStringLiteral("系统播放状态,不能清空曲目!"), Prompter::Icon::None,
            Prompter::Buttons::Ok);
        return;
    }
    if (ask(QStringLiteral("要全部清空曲目吗?"), Prompter::Icon::Question,
            Prompter::Buttons::YesNo) != Prompter::Answer::Yes ||
        closing_)
        return;
    writePlaylistFile(RealFileName, QString());
    PlayFileString.clear();
    FileOrder.clear();
    ShuffledOrder.clear();
    Text1->setText(QStringLiteral("0"));
    Text2->setText(QStringLiteral("0"));
    Text3->setText(QStringLiteral("-1"));
    Text4->setText(QStringLiteral("0"));
    List1->clear();
    closeTrack();
    writeMemoryPosition(RealFileName, 0);
    Text6->setText(QStringLiteral("0"));
}

void PlayerWindow::Command9_Click() {
    prepareForAnotherList();
    const QString folder = settings_.path(file::PlayListFile);
    QString path;
    for (;;) {
        path = waitIn([&] {
            return context_.dialogs->openFile(this, QStringLiteral("打开曲目表：(*.PLF)"), folder,
                                              kPlaylistFilter);
        });
        if (path.isEmpty() || closing_)
            return;
        if (QFileInfo::exists(path))
            break;
        ask(path + QStringLiteral("不存在!请重新选择一个!"), Prompter::Icon::Critical);
        if (closing_)
            return;
    }
    RealFileName = path;
    PLFFile = path;
    LoadPlaylistText(path, true);
    reshowList();
    if (List1->count()) {
        setCurrent(0);
    } else {
        Text3->setText(QStringLiteral("0"));
        Text4->setText(QStringLiteral("0"));
    }
    Text6->setText(QString::number(readMemoryPosition(path).value_or(0)));
    adoptNewList(path);
    applyListSettings(false);
    refreshDuration();
    if (!isFront())
        startDuckedUnderFront();
}

void PlayerWindow::Command10_Click() {
    prepareForAnotherList();
    if (List1->count() == 0) {
        ask(QStringLiteral("曲目表为空!"), Prompter::Icon::Information, Prompter::Buttons::Ok);
        return;
    }
    const QString folder = settings_.path(file::PlayListFile);
    QString path;
    for (;;) {
        path = waitIn([&] {
            return context_.dialogs->saveFile(this, QStringLiteral("将曲目表另存为:"), folder,
                                              kPlaylistFilter);
        });
        if (path.isEmpty() || closing_)
            return;
        path = withPlaylistSuffix(path);
        if (!QFileInfo::exists(path) ||
            ask(QStringLiteral("文件：") + path + QStringLiteral("已存在，要覆盖它吗？"),
                Prompter::Icon::Question, Prompter::Buttons::YesNo) == Prompter::Answer::Yes)
            break;
        if (closing_)
            return;
    }
    if (closing_)
        return;
    QStringList shown;
    for (int i = 0; i < List1->count(); ++i)
        shown << lineAt(i);
    const QString text = joinPlaylistText(shown);
    if (!writePlaylistFile(path, text)) {
        // The window keeps showing the list it still has.
        ask(QStringLiteral("曲目表无法保存：") + path, Prompter::Icon::Critical);
        return;
    }
    adoptNewList(path);
    PlayFileString = text;
    FileOrder = shown;
    ShuffledOrder = shown;
    RealFileName = path;
    PLFFile = path;
    writeMemoryPosition(path, 0);
    Text6->setText(QStringLiteral("0"));
    Timer4->stop();
    setLabels(path);
    MediaPlayer1->Stop();
}

void PlayerWindow::Command11_Click() {
    prepareForAnotherList();
    const QString folder = settings_.path(file::PlayListFile);
    QString path;
    for (;;) {
        path = waitIn([&] {
            return context_.dialogs->saveFile(this, QStringLiteral("请输入要创建的曲目表：(*.PLF)"),
                                              folder, kPlaylistFilter);
        });
        if (path.isEmpty() || closing_)
            return;
        path = withPlaylistSuffix(path);
        if (!QFileInfo::exists(path) ||
            ask(path + QStringLiteral("已存在，要覆盖它吗？"), Prompter::Icon::Question,
                Prompter::Buttons::YesNo) == Prompter::Answer::Yes)
            break;
        if (closing_)
            return;
    }
    if (closing_)
        return;
    writePlaylistFile(path, QString());
    writeMemoryPosition(path, 0);
    listUnreadable_ = false;
    RealFileName = path;
    PLFFile = path;
    PlayFileString.clear();
    FileOrder.clear();
    ShuffledOrder.clear();
    List1->clear();
    Text1->setText(QStringLiteral("0"));
    Text3->setText(QStringLiteral("-1"));
    Text4->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("0"));
    adoptNewList(path);
}

void PlayerWindow::Command14_Click() {
    settings_.writeText(file::DefaultPLF, RealFileName);
    DefaultListPath = RealFileName;
    Command14->setToolTip(QStringLiteral("当前的默认曲目表是：") + DefaultListPath);
    Command14->setEnabled(false);
    ask(DefaultListPath + QStringLiteral("已被设置为默认的曲目表,下次程序启动时它将被调用!"),
        Prompter::Icon::Information, Prompter::Buttons::Ok);
}

// ---- Order, mute, list ------------------------------------------------------------

void PlayerWindow::Check3_Click() {
    if (Text7->text() == QStringLiteral("3"))
        return;
    Text7->setText(QStringLiteral("1"));
    const QString current = lineAt(currentIndex());
    settings_.writeText(file::PlayOrder, QStringLiteral("1"));
    Check3->hide();
    Check4->show();
    fillList(false);
    const auto found = List1->findItems(current, Qt::MatchExactly);
    setCurrent(found.isEmpty() ? 0 : List1->row(found.first()));
    queueNext();
}

void PlayerWindow::Check4_Click() {
    Text7->setText(QStringLiteral("2"));
    const QString current = lineAt(currentIndex());
    settings_.writeText(file::PlayOrder, QStringLiteral("2"));
    Check4->hide();
    Check3->show();
    fillList(true);
    const auto found = List1->findItems(current, Qt::MatchExactly);
    setCurrent(found.isEmpty() ? 0 : List1->row(found.first()));
    queueNext();
}

void PlayerWindow::Check1_Click() {
    MediaPlayer1->setMute(Check1->isChecked());
}

void PlayerWindow::List1_DblClick() {
    if (Text7->text() == QStringLiteral("3"))
        return;
    const int index = List1->currentRow();
    if (index < 0)
        return;
    setCurrent(index);
    openTrack(lineAt(index));
    showPlaying(true);
    Command15->setEnabled(false);
    Command16->setEnabled(false);
}

// ---- Volume and balance menus -------------------------------------------------------

void PlayerWindow::readSlider(QSlider* slider, const QString& path, const QString& missingMessage) {
    if (const auto value = readSliderFile(path, slider->minimum(), slider->maximum()))
        slider->setValue(*value);
    else if (QFileInfo::exists(path))
        slider->setValue(slider == Slider2 ? 5000 : 0); // unreadable: the default, as at load
    else
        ask(missingMessage, Prompter::Icon::Critical, Prompter::Buttons::Ok);
}

QString PlayerWindow::searchFolderOrComplain() {
    if (List1->count() == 0) {
        ask(kEmptyListForFolder, Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return {};
    }
    QStringList shown;
    for (int i = 0; i < List1->count(); ++i) {
        List1->setCurrentRow(i);
        shown << lineAt(i);
    }
    return searchFolderPrefix(shown);
}

void PlayerWindow::ReadFromPLFVolume_Click() {
    readSlider(Slider2, volumeFileOf(RealFileName), QStringLiteral("当前曲目表没有音量设置文件"));
}

void PlayerWindow::ReadFromPLFBalance_Click() {
    readSlider(Slider3, balanceFileOf(RealFileName),
               QStringLiteral("当前曲目表没有声道平衡设置文件"));
}

void PlayerWindow::SaveToPLFVolume_Click() {
    writeNumberRecord(volumeFileOf(RealFileName), Slider2->value());
}

void PlayerWindow::SaveToPLFBalance_Click() {
    writeNumberRecord(balanceFileOf(RealFileName), Slider3->value());
}

void PlayerWindow::ReadFromSearchDirectoryVolume_Click() {
    const QString folder = searchFolderOrComplain();
    if (!folder.isEmpty())
        readSlider(Slider2, folder + QStringLiteral("Volume.txt"),
                   QStringLiteral("当前搜索文件夹内没有音量设置文件"));
}

void PlayerWindow::ReadFromSearchFileBalance_Click() {
    const QString folder = searchFolderOrComplain();
    if (!folder.isEmpty())
        readSlider(Slider3, folder + QStringLiteral("Balance.txt"),
                   QStringLiteral("当前搜索文件夹内没有声道平衡设置文件"));
}

void PlayerWindow::SaveToSearchDirectoryVolume_Click() {
    const QString folder = searchFolderOrComplain();
    if (!folder.isEmpty())
        writeNumberRecord(folder + QStringLiteral("Volume.txt"), Slider2->value());
}

void PlayerWindow::SaveToSearchFileBalance_Click() {
    const QString folder = searchFolderOrComplain();
    if (!folder.isEmpty())
        writeNumberRecord(folder + QStringLiteral("Balance.txt"), Slider3->value());
}

} // namespace campanor
