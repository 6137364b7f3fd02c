#pragma once

#include "app/Formall.h"
#include "common/AutoStart.h"
#include "common/FileDialogs.h"
#include "common/Power.h"
#include "common/Processes.h"
#include "fixtures/Audio.h"
#include "fixtures/ScriptedDialogs.h"
#include "fixtures/ScriptedMedia.h"
#include "fixtures/ScriptedPrompter.h"
#include "fixtures/TempFolder.h"
#include "fixtures/TestClock.h"
#include "media/Playlist.h"
#include "players/MediaPlayer.h"
#include "players/PlayerWindow.h"
#include "table/InstructionTable.h"

#include <QAction>
#include <gtest/gtest.h>
#include <memory>

namespace campanor::test {

class RecordingAutoStart : public AutoStart {
  public:
    bool enable(const QString& program, const QString& folder) override {
        calls << "enable " + program + " " + folder;
        return ++enabled, true;
    }
    bool disable(const QString& program, const QString& folder) override {
        calls << "disable " + program + " " + folder;
        return ++disabled, true;
    }
    int enabled = 0;
    int disabled = 0;
    QStringList calls;
};

class RecordingPower : public Power {
  public:
    void ShutDownNow(Done done) override { record("shutdown", done); }
    void RestartNow(Done done) override { record("restart", done); }
    void LogOffNow(Done done) override { record("logoff", done); }
    QStringList calls;
    // Set: every request is refused with this reason.
    std::optional<QString> refusal;

  private:
    void record(const char* what, const Done& done) {
        calls << what;
        if (done)
            done(!refusal, refusal.value_or(QString()));
    }
};

class RecordingProcesses : public Processes {
  public:
    QString LaunchProgram(const QString& commandLine) override {
        calls << "launch " + commandLine;
        return refusal;
    }
    void EndLaunchedProgram() override { calls << "end"; }
    QStringList calls;
    // Why every launch fails; empty: every launch starts.
    QString refusal;
};

class FormallTest : public ::testing::Test {
  protected:
    std::unique_ptr<Formall> start() {
        Services services;
        services.prompter = &prompter;
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.autoStart = autoStartService ? autoStartService : &autoStart;
        services.power = &power;
        services.processes = &processes;
        services.clockHealth = clockHealth;
        services.exitNow = [this] { ++exits; };
        services.makeMedia = mediaFactory;
        services.fadeMs = fadeMs;
        auto window = std::make_unique<Formall>(dir.path(), services);
        window->Form_Load();
        return window;
    }
    QAction* item(Formall& w, const char* name) {
        return w.findChild<QAction*>(QLatin1String(name));
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    RecordingPower power;
    RecordingProcesses processes;
    TestClock clock{QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0, 300))};
    RecordingAutoStart autoStart;
    AutoStart* autoStartService = nullptr; // the real one, when a test sets it
    int exits = 0;
    std::function<MediaControl*(QObject*)> mediaFactory;
    int fadeMs = 1500;
    ClockHealth* clockHealth = nullptr;

    // Players over scripted media (lengths from `durations`) with short fades.
    void useScriptedMedia() {
        mediaFactory = [this](QObject* parent) { return new ScriptedMedia(&durations, parent); };
        fadeMs = 10;
    }
    // The default table, holding `lines`.
    void writeTable(const QStringList& lines) {
        writeTableFile(dir.file("DayTimeTable/Default.DTT"), u'|' + lines.join(u'|'));
    }
    // A list PlayListFile/`name` of one scripted track music/`track` of 30 s.
    QString scriptedList(const QString& name, const QString& track) {
        dir.write("music/" + track, "x");
        durations[dir.file("music/" + track)] = 30;
        dir.write("PlayListFile/" + name,
                  TempFolder::quoted(joinPlaylistText({dir.file("music/" + track)})));
        return dir.file("PlayListFile/" + name);
    }
    static ScriptedMedia* media(PlayerWindow* w) {
        return static_cast<ScriptedMedia*>(w->MediaPlayer1);
    }
    QHash<QString, double> durations;
};

} // namespace campanor::test
