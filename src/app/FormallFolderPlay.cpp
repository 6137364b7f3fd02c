#include "Formall.h"

#include "common/AsRunLog.h"
#include "media/FormSearchFile.h"
#include "dialogs/FormSelectDirctory.h"
#include "table/ComposerPanel.h"

#include <stdexcept>

namespace campanor {

namespace {

bool isFrontSearch(ActionKind kind) {
    return kind == ActionKind::SearchFrontSorted || kind == ActionKind::SearchFrontRandom;
}

// Ends the tick's work on this instruction; the tick writes the text down
// and marks the instruction.
[[noreturn]] void failFolderPlay(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

} // namespace

void Formall::PlaySearchFolder(ActionKind kind, const QString& folder) {
    const bool front = isFrontSearch(kind);
    if (front)
        FrontPlayer = kind == ActionKind::SearchFrontSorted ? QStringLiteral("前置排序")
                                                            : QStringLiteral("前置随机");
    FormSearchFile search(settings_.folder(), &FrontPlayer);
    if (!search.setDir1Path(folder)) {
        // Left set, it would send the next back folder's list to the front player.
        FrontPlayer.clear();
        failFolderPlay(QStringLiteral("搜索文件夹不存在或无法读取：") + folder);
    }
    MemPath = folder;
    if (!search.Command1_Click()) {
        FrontPlayer.clear();
        MemPath.clear();
        // No list named: the walk itself could not read the folder.
        if (search.savedList.isEmpty())
            failFolderPlay(QStringLiteral("搜索文件夹不存在或无法读取：") + folder);
        failFolderPlay(QStringLiteral("搜索文件夹的临时曲目表无法写入：") + search.savedList);
    }
    if (search.truncated)
        reportProblem(QStringLiteral("搜索文件夹超过 32767 个文件或文件夹，只播放前面找到的：") +
                      folder);
    // Said once for the folder, with the first few: a tick must not write
    // thousands of lines.
    if (!search.unstorable.isEmpty())
        reportProblem(QStringLiteral("%1 个文件的路径含有 | 或 \"，不能放入曲目表，例如：")
                          .arg(search.unstorable.size()) +
                      search.unstorable.mid(0, 3).join(QStringLiteral("；")));

    const QString list = front ? FormSearchFile::frontListPath(settings_.folder())
                               : FormSearchFile::backListPath(settings_.folder());
    try {
        switch (kind) {
        case ActionKind::SearchBackSorted:
            StartBackSearchSorted(list);
            break;
        case ActionKind::SearchFrontSorted:
            StartFrontSearchSorted(list);
            break;
        case ActionKind::SearchBackRandom:
            StartBackSearchRandom(list);
            break;
        default:
            StartFrontSearchRandom(list);
            break;
        }
    } catch (const std::runtime_error&) {
        // The temporary list means nothing to the operator; the folder does.
        if (search.List2.isEmpty())
            failFolderPlay(QStringLiteral("搜索文件夹中没有可播放的文件：") + folder);
        throw;
    }
}

void Formall::StartBackSearchSorted(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Back, playlist, QStringLiteral("1"),
                 &PlayerWindow::Command7_Click);
}

void Formall::StartFrontSearchSorted(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Front, playlist, QStringLiteral("1"),
                 &PlayerWindow::Command7_Click);
}

void Formall::StartBackSearchRandom(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Back, playlist, QStringLiteral("2"),
                 &PlayerWindow::Command13_Click);
}

void Formall::StartFrontSearchRandom(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Front, playlist, QStringLiteral("2"),
                 &PlayerWindow::Command13_Click);
}

void Formall::showFolderPicker() {
    if (!folderPicker_) {
        folderPicker_ =
            new FormSelectDirctory(settings_.read(file::SkinFile), services_.prompter, this);
        connect(folderPicker_, &FormSelectDirctory::folderChosen, this,
                [this](const QString& folder) {
                    // A folder the composer refuses (it says why) is not taken at all.
                    if (!composer || composer->setSearchFolderParameter(folder))
                        SearchPath = folder;
                });
        folderPicker_->Form_Load();
    }
    folderPicker_->show();
    folderPicker_->raise();
    folderPicker_->activateWindow();
}

} // namespace campanor
