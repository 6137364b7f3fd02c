#pragma once

#include "fixtures/ScriptedDialogs.h"
#include "fixtures/ScriptedMedia.h"
#include "fixtures/ScriptedPrompter.h"
#include "fixtures/TempFolder.h"
#include "media/Playlist.h"
#include "players/PlayerWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace campanor::test {

// A program folder with a few track files and playlists, and player windows
// over scripted media.
class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("PlayOrder.txt", TempFolder::quoted("1"));
        dir.write("PlayListFile/Default.PLF", "\"\"\r\n");
        dir.write("PlayListFile/Default.PLFR", "0\r\n");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            dir.write(QStringLiteral("music/%1").arg(QLatin1String(name)), "x");
    }

    QString track(const char* name) const { return dir.file(QStringLiteral("music/") + name); }
    QString playlist(const QString& name, const QStringList& tracks, int memory = 0) {
        const QString path = dir.file("PlayListFile/" + name);
        dir.write("PlayListFile/" + name, TempFolder::quoted(joinPlaylistText(tracks)));
        writeMemoryPosition(path, memory);
        return path;
    }

    PlayerContext context() {
        PlayerContext c;
        c.programFolder = dir.path();
        c.prompter = &prompter;
        c.dialogs = &dialogs;
        c.memPath = &memPath;
        c.makeMedia = [this](QObject* parent) { return new ScriptedMedia(&durations, parent); };
        c.backPlayer = [this] { return back.data(); };
        c.frontPlayer = [this] { return front.data(); };
        c.fadeMs = fadeMs;
        return c;
    }

    // A loaded window of the role, on the playlist (null when it would not load).
    PlayerWindow* load(PlayerWindow::Role role, const QString& plf) {
        return load(role, plf, context());
    }
    PlayerWindow* load(PlayerWindow::Role role, const QString& plf, const PlayerContext& c) {
        auto* window = new PlayerWindow(role, c);
        (role == PlayerWindow::Role::Front ? front : back) = window;
        made << window;
        window->PLFFile = plf;
        if (!window->Form_Load())
            return nullptr;
        return window;
    }

    static ScriptedMedia* media(PlayerWindow* window) {
        return static_cast<ScriptedMedia*>(window->MediaPlayer1);
    }
    static QStringList shown(PlayerWindow* window) {
        QStringList lines;
        for (int i = 0; i < window->List1->count(); ++i)
            lines << window->List1->item(i)->text();
        return lines;
    }

    // Every window a test made, also those replaced as front or back since.
    void TearDown() override {
        for (const QPointer<PlayerWindow>& window : std::as_const(made))
            delete window.data();
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    QString memPath;
    QHash<QString, double> durations;
    int fadeMs = 20;
    QPointer<PlayerWindow> back;
    QPointer<PlayerWindow> front;
    QList<QPointer<PlayerWindow>> made;
};

} // namespace campanor::test
