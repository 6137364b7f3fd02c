#include "Formall.h"

#include "ActionFailure.h"
#include "common/WindowPlacement.h"

#include <QLineEdit>

namespace campanor {

PlayerContext Formall::playerContext() {
    PlayerContext context;
    context.programFolder = settings_.folder();
    context.prompter = services_.prompter;
    context.dialogs = services_.dialogs;
    context.memPath = &MemPath;
    context.makeMedia = services_.makeMedia;
    context.backPlayer = [this] { return FromPlayer.data(); };
    context.frontPlayer = [this] { return ReportPlayer.data(); };
    context.fadeMs = services_.fadeMs;
    return context;
}

void Formall::dropPlayer(QPointer<PlayerWindow>& player) {
    // Forgotten first, so that nothing finds it loaded while it closes.
    PlayerWindow* window = player;
    player = nullptr;
    if (window)
        window->close();
}

PlayerWindow* Formall::startPlayer(PlayerWindow::Role role, const QString& playlist) {
    QPointer<PlayerWindow>& slot = role == PlayerWindow::Role::Front ? ReportPlayer : FromPlayer;
    dropPlayer(slot);
    auto* window = new PlayerWindow(role, playerContext());
    slot = window;
    // A window that closed itself (the front at the end of its list) is
    // forgotten at once, even while it lingers for a box to be answered.
    connect(window, &PlayerWindow::closed, this, [&slot, window] {
        if (slot == window)
            slot = nullptr;
    });
    window->PLFFile = playlist;
    if (!window->Form_Load()) {
        // A missing playlist: the window has closed itself; nothing plays.
        slot = nullptr;
        return nullptr;
    }
    window->show();
    return window;
}

void Formall::startAndPlay(PlayerWindow::Role role, const QString& playlist,
                           const QString& playType, void (PlayerWindow::*start)()) {
    const QPointer<PlayerWindow> window = startPlayer(role, playlist);
    if (!window)
        failAction(QStringLiteral("曲目表文件不存在：") + playlist);
    window->Text7->setText(playType);
    (window->*start)();
    // The start command has just read the list: its holders say what it found.
    // A front player with nothing to play has closed itself by now.
    if (window && window->Text2->text().toInt() <= 0)
        failAction(QStringLiteral("曲目表文件无法读取：") + playlist);
    if (!window || window->List1->count() == 0)
        failAction(QStringLiteral("曲目表中没有可播放的曲目：") + playlist);
}

void Formall::StartBackStatic(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Back, playlist, QStringLiteral("1"),
                 &PlayerWindow::Command7_Click);
}

void Formall::StartBackMemory(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Back, playlist, QStringLiteral("3"),
                 &PlayerWindow::Command15_Click);
}

void Formall::StartBackDynamic(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Back, playlist, QStringLiteral("2"),
                 &PlayerWindow::Command13_Click);
}

void Formall::StartFrontStatic(const QString& playlist) {
    startAndPlay(PlayerWindow::Role::Front, playlist, QStringLiteral("1"),
                 &PlayerWindow::Command7_Click);
}

void Formall::CloseFrontPlayer() {
    dropPlayer(ReportPlayer);
}

void Formall::CloseBackPlayer() {
    dropPlayer(FromPlayer);
}

void Formall::showPlayer(PlayerWindow::Role role) {
    PlayerWindow* window = role == PlayerWindow::Role::Front ? ReportPlayer : FromPlayer;
    if (!window)
        window = startPlayer(role, QString());
    bringBack(window);
}

void Formall::ReportPlayerNew_Click() {
    showPlayer(PlayerWindow::Role::Front);
}

void Formall::Player_Click() {
    showPlayer(PlayerWindow::Role::Back);
}

} // namespace campanor
