#include "Formall.h"

#include "ActionFailure.h"
#include "common/AsRunLog.h"
#include "common/LogWords.h"
#include "common/WindowPlacement.h"
#include "dialogs/FormSelectDirctory.h"
#include "media/FormSearchFile.h"
#include "table/ComposerPanel.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <stdexcept>
#include <thread>

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

struct Formall::FolderWalkJob {
    FolderWalkJob(ActionKind kind, QString folder, FormSearchFile search)
        : kind(kind), folder(std::move(folder)), search(std::move(search)) {}
    ActionKind kind;
    QString folder;
    FormSearchFile search;
    // Set on the user-interface thread; the walk stops at its next folder.
    std::atomic<bool> givenUp{false};
    // Written by the walk before it hands the job back.
    bool readable = false;
    bool walked = false;
    TickLoop::Finish finish;
};

void Formall::setFolderWalkLimit(int ms, std::function<void()> beforeEachFolder) {
    folderWalkLimitMs_ = ms;
    folderWalkHook_ = std::move(beforeEachFolder);
}

bool Formall::folderWalkPending() const {
    return folderWalks_[0] || folderWalks_[1];
}

void Formall::giveUpFolderWalk(bool front, const QString& outcome) {
    const std::shared_ptr<FolderWalkJob> job = std::exchange(folderWalks_[front], nullptr);
    if (!job)
        return;
    job->givenUp = true;
    job->finish(outcome);
}

void Formall::PlaySearchFolder(ActionKind kind, const QString& folder, const QString& line) {
    // The picker refuses these; a line written by hand or typed in the insert
    // panel would otherwise walk the whole system at its second.
    if (FormSelectDirctory::isUnsearchable(folder))
        failAction(QStringLiteral("不能搜索“%1”：根目录会搜索整个系统，/proc、/sys、/dev、/run "
                                  "是系统文件夹")
                       .arg(folder));
    const bool front = isFrontSearch(kind);
    giveUpFolderWalk(front, logword::cancelled(QStringLiteral("后来的搜索文件夹取代了它")));
    auto job = std::make_shared<FolderWalkJob>(kind, folder,
                                               FormSearchFile(settings_.folder(), &FrontPlayer));
    job->finish = tick_.deferOutcome(line, logword::readingFolder());
    folderWalks_[front] = job;

    // A network folder that stops answering holds the walk, not the window:
    // the tick goes on, and the player starts when the walk hands back.
    const QPointer<Formall> host(this);
    std::thread([job, host, hook = folderWalkHook_] {
        job->readable = job->search.setDir1Path(job->folder);
        if (job->readable)
            job->walked = job->search.walk([&] {
                if (hook)
                    hook();
                return !job->givenUp;
            });
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [job, host] {
                if (host)
                    host->folderWalked(job);
            },
            Qt::QueuedConnection);
    }).detach();
    QTimer::singleShot(folderWalkLimitMs_, this, [this, job, front] {
        if (folderWalks_[front] != job)
            return;
        giveUpFolderWalk(front,
                         logword::failed(QStringLiteral("搜索文件夹 %1 秒内没有读完，已放弃：%2")
                                             .arg(folderWalkLimitMs_ / 1000.0)
                                             .arg(job->folder)));
    });
}

void Formall::folderWalked(const std::shared_ptr<FolderWalkJob>& job) {
    const bool front = isFrontSearch(job->kind);
    if (folderWalks_[front] != job)
        return; // given up: its outcome is written already
    folderWalks_[front] = nullptr;
    try {
        playWalkedFolder(*job);
        job->finish(logword::done());
    } catch (const std::exception& e) {
        job->finish(logword::failed(QString::fromUtf8(e.what())));
    }
}

void Formall::playWalkedFolder(FolderWalkJob& job) {
    const ActionKind kind = job.kind;
    const QString& folder = job.folder;
    FormSearchFile& search = job.search;
    const bool front = isFrontSearch(kind);
    if (!job.readable || !job.walked)
        failFolderPlay(QStringLiteral("搜索文件夹不存在或无法读取：") + folder);
    if (front)
        FrontPlayer = kind == ActionKind::SearchFrontSorted ? QStringLiteral("前置排序")
                                                            : QStringLiteral("前置随机");
    MemPath = folder;
    if (!search.Command2_Click()) {
        // Left set, it would send the next back folder's list to the front player.
        FrontPlayer.clear();
        MemPath.clear();
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
        folderPicker_->Form_Load(SearchPath);
        centreOver(folderPicker_, this);
    }
    folderPicker_->show();
    folderPicker_->raise();
    folderPicker_->activateWindow();
}

} // namespace campanor
