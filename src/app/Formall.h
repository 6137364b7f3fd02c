#pragma once

#include "AsRunLogWindow.h"
#include "HelpWindow.h"
#include "Services.h"
#include "Settings.h"
#include "calendar/CalendarFile.h"
#include "calendar/FormCalendar.h"
#include "common/ElidedLabel.h"
#include "common/Power.h"
#include "common/Skin.h"
#include "common/SoundDevice.h"
#include "dialogs/FormSelectDirctory.h"
#include "frmAbout.h"
#include "players/FormSoundDevice.h"
#include "players/PlayerWindow.h"
#include "remote/RemoteService.h"
#include "scheduler/Action.h"
#include "scheduler/ClockHealth.h"
#include "scheduler/CountdownWindow.h"
#include "scheduler/Dispatcher.h"
#include "scheduler/EmergencyMode.h"
#include "scheduler/InternalClock.h"
#include "scheduler/NextInstruction.h"
#include "scheduler/TickLoop.h"
#include "table/FormEdit.h"
#include "table/InstructionTable.h"

#include <QDBusUnixFileDescriptor>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

namespace campanor {

class ComposerPanel;
class FileFollower;
class GridLines;
class InstructionBoxes;
class MediaPlayer;

// The main window: settings, the instruction table, the internal clock and
// the tick that carries out the schedule.
class Formall : public QMainWindow, private ActionExecutors, private RemoteHost {
    Q_OBJECT
  public:
    Formall(const QString& programFolder, Services services, QWidget* parent = nullptr);
    ~Formall() override;

    // The load handler: settings, first-run reset, caption, default table.
    void Form_Load();
    // Shows the window in the state show.txt asked for.
    void showAtStartUp();
    // A second start: the window comes up whatever its state (hidden,
    // minimised, behind others).
    void bringToFront();
    // The session or the system is ending the program: closing the window
    // then asks nothing.
    void sessionEnding() { ending_ = true; }

    // Table
    ReadStatus LoadInstructionTable();
    void SetCurrentTable(const QString& path, bool atStartUp = false);
    void FillInstructionList();
    // Appends an instruction (it begins with its "|") to the current table,
    // reloads it and selects the new row; false when it could not be stored.
    bool CommitInstruction(const QString& realString);
    // The instruction line of a list row, put back together from its cells.
    QString rowLine(int row) const;

    // Editing the table: the list's selection, the table commands, the edit
    // dialog and the insert panel.
    void ListView1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Check1_Click();
    void Command9_Click();
    void Command10_Click();
    FormEdit* editDialog() const { return FormEdit_; }
    bool gridLinesShown() const;

    // Scheduler
    void Timer1_Timer();
    void MenuJustMyTimeAuto_Click();
    void DispatchAction(const QString& line) { dispatcher_.dispatch(line); }
    Dispatcher& dispatcher() { return dispatcher_; }
    void Command8_Click();
    void MediaPlayer1_EndOfStream();
    void MediaPlayer1_Failed(const QString& path, const QString& message);
    void OpenTableByInstruction(const QString& path);
    void StartBackStatic(const QString& playlist);
    void StartBackMemory(const QString& playlist);
    void StartBackDynamic(const QString& playlist);
    void StartFrontStatic(const QString& playlist);
    // A search folder: its playable files become the temporary playlist of
    // the player, which then starts on it. The folder is walked on another
    // thread; the outcome of `line` is written when the walk hands back, or
    // as a failure when it has not within the limit.
    void PlaySearchFolder(ActionKind kind, const QString& folder, const QString& line);
    // The longest a walk may take, and what runs before each folder is read.
    void setFolderWalkLimit(int ms, std::function<void()> beforeEachFolder = {});
    bool folderWalkPending() const;
    void StartBackSearchSorted(const QString& playlist);
    void StartFrontSearchSorted(const QString& playlist);
    void StartBackSearchRandom(const QString& playlist);
    void StartFrontSearchRandom(const QString& playlist);
    // The folder picker of the composer's search options, opened modeless
    // (or brought forward when it is open); its choice becomes SearchPath and
    // the parameter box of the first checked search option.
    void showFolderPicker();
    FormSelectDirctory* folderPicker() const { return folderPicker_; }
    void CloseFrontPlayer();
    void CloseBackPlayer();
    void ReportPlayerNew_Click();
    void Player_Click();
    void LineInOn();
    void LineInOff();
    void MicOn();
    void MicOff();

    void MenuzExit_Click();

    // Settings commands of the menus.
    void AUTORUNYES_Click();
    void AUTORUNNO_Click();
    void FormShow_Click();
    void FormHide_Click();
    void MenuShutDownWindowsFormOn_Click();
    void MenuShutDownWindowsFormOff_Click();
    void MenuRestartFormOn_Click();
    void MenuRestartFormOff_Click();
    void MenuLogoffFormon_Click();
    void MenuLogoffFormOff_Click();
    void MenuShutDownWindowsWaitTimeNew_Click();
    void MenuRestartWaitTimeNew_Click();
    void MenuLogoffWaitTimeNew_Click();
    void SetUser_Click();
    void ChangeSkin(const QString& skinFile);
    // The 皮肤 menu checks the skin in use.
    void showSkinInUse();
    void RingChoose_Click();
    void humor_Click();
    void menuTryRing_Click();
    void menustopsound_Click();
    void Register_Click();
    void MenuAbout_Click();
    void dd_Click();
    void MenuMyHttp_Click();
    void MenuAsRunLog_Click();
    void MenuCalendar_Click();

    // Commands from outside, the emergency mode and the followed table file
    // (FormallRemote.cpp, FormallEmergency.cpp).
    RemoteHost& remoteHost() { return *this; }
    const EmergencyMode& emergency() const { return emergency_; }
    // 系统 → 紧急广播: asks, then starts the mode (or, while on, ends it).
    void Emergency_Click();
    // Empty when done, else why not.
    QString startEmergency(const QString& playlist);
    QString endEmergency();
    QWidget* EmergencyBanner = nullptr;
    QLabel* EmergencyText = nullptr;
    QPushButton* EmergencyEnd = nullptr;
    QLabel* TableWarning = nullptr;

    // Picking up the day (FormallRestore.cpp). What fell due from `missedFrom`
    // to the internal clock's second is logged as missed; unless turned off
    // (启动时恢复播音状态), what today's plan has in effect is put back.
    // `tookOver`: the second from which the tick has run the day itself
    // (the internal clock's second when it is not given).
    // After an emergency (`suspended`) the lines from `missedFrom` on were
    // logged as suspended already, and a table the operator opened stays
    // unless a 打开表 line fell due meanwhile.
    void restoreDay(const QString& occasion, const QTime& missedFrom,
                    std::optional<QTime> tookOver = std::nullopt, bool suspended = false);
    // After the first frame: picks up the day since the last sign of life in
    // today's log, and from now on after a resume and a large clock step.
    void restoreAtStartUp();
    void MenuRestoreAtStart_Click();
    // The table a day starts on; the host sets it, the default table otherwise.
    std::function<QString(const QDate&)> dayTable;
    QAction* MenuRestoreAtStart = nullptr;
    QPushButton* MissedButton = nullptr;

    // The next-instruction line, brought up to the internal clock and the table.
    void refreshNextInstruction();
    // The school year's calendar as last read (at start-up and when each day
    // begins); reloadCalendar reads it again after a change and updates the
    // warning line. A change decides the days that begin after it.
    const CalendarFile& calendarFile() const { return calendar_; }
    void reloadCalendar();
    // Calendar.txt changed by another program (a sync between buildings).
    void followCalendarFile();
    // An outcome of a carried-out line: the last-run line and a brief
    // highlight of its row.
    void showLastRun(const QDateTime& second, const QString& line, const QString& outcome,
                     bool failed);

    // The countdown window of a power kind, when one is open.
    CountdownWindow* countdown(int kindIndex) const { return countdowns_[kindIndex]; }
    HelpWindow* helpWindow() const { return help_; }
    frmAbout* aboutBox() const { return about_; }
    AsRunLogWindow* asRunLogWindow() const { return asRunLog_; }
    FormCalendar* calendarWindow() const { return calendarWindow_; }
    FormSoundDevice* soundDeviceWindow() const { return soundDevice_; }
    PlayerWindow* backPlayer() const { return FromPlayer; }
    PlayerWindow* frontPlayer() const { return ReportPlayer; }

    // State shared with the other windows.
    QString ShutString, RestartString, LogoffString;
    int RadioLineIn = 0;
    QString DefaultRingPath, BuiltInRingPath, DueRingPath;
    QString DefaultTablePath, CurrentTablePath;
    QString VS;
    QString RealString;
    QString FrontPlayer, MemPath, SearchPath;

    const InstructionTable& table() const { return table_; }
    InternalClock& internalClock() { return clock_; }
    const Settings& settings() const { return settings_; }
    // The ring player, made on first use.
    MediaPlayer* ringPlayer();
    // The sound system's start and warm-up take a good part of a second on a
    // busy machine, so they come after the first frame: the ring player is
    // made and the ring's decoders loaded, and the first scheduled ring then
    // starts at once.
    void prepareSound();
    // The sound devices the players and the switches use from now on; a
    // missing one is said in a notice. 系统 → 声音设备 opens the window.
    void useSoundDevice(const SoundDevice& choice);
    void MenuSoundDevice_Click();

    // Controls, named as the system names them.
    QTimer* Timer1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QLineEdit* Text1 = nullptr;
    ElidedLabel* SkinLabel2 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr;
    QPushButton *Command5 = nullptr, *Command6 = nullptr, *Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QCheckBox* Check1 = nullptr;
    // The composer, and the insert panel's four boxes Text18, Text17, Text14, Text19.
    ComposerPanel* composer = nullptr;
    InstructionBoxes* insertPanel = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QListWidget* List3 = nullptr;
    ElidedLabel* NextInstruction = nullptr;
    // The last instruction carried out, its time and outcome (red when it failed).
    ElidedLabel* LastInstruction = nullptr;
    QLabel* ClockHealthLabel = nullptr;
    QLabel* CalendarWarningLabel = nullptr;
    ElidedLabel* TomorrowLine =
        nullptr; // beside NextInstruction: tomorrow when it is no ordinary day
    MediaPlayer* MediaPlayer1 = nullptr;
    Skin Skin1;

    QAction *AUTORUNYES = nullptr, *AUTORUNNO = nullptr;
    QAction *FormShow = nullptr, *FormHide = nullptr;
    QAction *MenuShutDownWindowsFormOn = nullptr, *MenuShutDownWindowsFormOff = nullptr;
    QAction* MenuShutDownWindowsWaitTimeCurrent = nullptr;
    QAction *MenuRestartFormOn = nullptr, *MenuRestartFormOff = nullptr;
    QAction* MenuRestartWaitTimeCurrent = nullptr;
    QAction *MenuLogoffFormon = nullptr, *MenuLogoffFormOff = nullptr;
    QAction* MenuLogoffWaitTimeCurrent = nullptr;
    QAction *CurrentRing = nullptr, *humor = nullptr;
    QAction *MenuzExit = nullptr, *MenuJustMyTimeAuto = nullptr;
    QAction* DisplayTime = nullptr;
    QLabel* DisplayTimeLabel = nullptr; // what DisplayTime shows: the two clocks

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    // logind's signal around a suspend.
    void PrepareForSleep(bool sleeping);

  private:
    QVariantMap remoteStatus() override;
    QString remoteRun(const QString& actionField) override;
    QString remoteOpenTable(const QString& path) override;
    QString remoteEmergency(bool on, const QString& playlist) override;
    QString runFromOutside(const Action& action, const QString& actionField);
    void setUpOutside();
    void buildEmergencyBanner();
    void carryOutDue(const QString& line);
    void applyEmergency();
    void liftEmergency(const QDateTime& since);
    void loopEmergencyRing();
    void followTableFile();

    // The executors of the dispatch (FormallExecutors.cpp).
    void startBackStatic(const QString& playlist) override;
    void startBackMemory(const QString& playlist) override;
    void startBackDynamic(const QString& playlist) override;
    void startFrontStatic(const QString& playlist) override;
    void playSearchFolder(ActionKind kind, const QString& folder, const QString& line) override;
    void closeFrontPlayer() override;
    void closeBackPlayer() override;
    void ring(const QString& path, const QString& line) override;
    void openTable(const QString& path) override;
    void lineIn(bool on) override;
    void mic(bool on) override;
    void power(ActionKind kind, const QString& line) override;
    void launchProgram(const QString& commandLine) override;
    void endLaunchedProgram() override;

    void buildWidgets();
    ComposerPanel* buildComposer(QWidget* parent);
    QWidget* buildTableSide(QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool storeTableText(const QString& tableText, const QString& notDone);
    QString tableNotWrittenMessage(const QString& notDone) const;
    bool refusedWhileEditing(const QString& command);
    void keepSelection();
    void selectRow(const QString& line);
    bool commitRealString();
    void endEdit();
    void setInsertPanelEnabled(bool enabled);
    void showEditDialog();
    void buildMenus();
    void buildStatusLines(QVBoxLayout* layout, QWidget* parent);
    void buildMissedLine(QVBoxLayout* layout, QWidget* parent);
    void buildLastRun(QHBoxLayout* row, QWidget* parent);
    void showClockHealth(ClockHealth::State state);
    void buildCalendarWarning(QVBoxLayout* layout, QWidget* parent);
    void showCalendarWarning();
    // The tick's day handler: the calendar's table is opened for the date.
    TickLoop::Day beginCalendarDay(const QDate& date);
    // What tomorrow is, and make-up days of the coming week without a weekday.
    void showTomorrow(const QDate& today);
    void readPowerPrompts();
    void setCaption();
    void setUpRing();
    void setUpDefaultTable();
    void recoverFromTableFailure();
    void markFailedInstruction(const QString& line);
    void showTable();
    void connectCommands();
    void setStartUpVisibility(bool show);
    void setPromptOn(int kindIndex, bool on);
    void askWaitTime(int kindIndex);
    void powerAction(int kindIndex, const QString& line);
    // What follows the system's answer to a power request of the due `line`.
    Power::Done powerAnswered(int kindIndex, TickLoop::Finish finish, bool endsProgram);
    // The program ends: every open countdown is cancelled, none acts.
    void cancelCountdowns();
    PlayerContext playerContext();
    PlayerWindow* startPlayer(PlayerWindow::Role role, const QString& playlist);
    void startAndPlay(PlayerWindow::Role role, const QString& playlist, const QString& playType,
                      void (PlayerWindow::*start)());
    void showPlayer(PlayerWindow::Role role);
    static void dropPlayer(QPointer<PlayerWindow>& player);
    struct FolderWalkJob;
    void folderWalked(const std::shared_ptr<FolderWalkJob>& job);
    void playWalkedFolder(FolderWalkJob& job);
    // The walk of the front (or back) player's folder ends with `outcome`.
    void giveUpFolderWalk(bool front, const QString& outcome);

    // One power kind: its file, its string and its menu items.
    struct PowerKind {
        const QString& file;
        QString& text;
        QAction* on;
        QAction* off;
        QAction* current;
        QString prompt;
    };
    PowerKind powerKind(int index);
    // Throws, for the tick's trap, when the switch could not be made.
    void switchMixerLine(bool lineIn, int muted);

    Settings settings_;
    Services services_;
    InstructionTable table_;
    InternalClock clock_;
    TickLoop tick_;
    Dispatcher dispatcher_{*this};
    CalendarFile calendar_;
    std::optional<QByteArray> calendarBytes_; // the file as last read
    bool startHidden_ = false;
    bool ending_ = false;
    QPointer<HelpWindow> help_;
    // The two player windows, while loaded.
    QPointer<PlayerWindow> FromPlayer;
    QPointer<PlayerWindow> ReportPlayer;
    QPointer<frmAbout> about_;
    QPointer<FormSelectDirctory> folderPicker_;
    QPointer<AsRunLogWindow> asRunLog_;
    QPointer<FormCalendar> calendarWindow_;
    QPointer<FormSoundDevice> soundDevice_;
    NextInstructionCache nextInstruction_;
    std::array<QPointer<CountdownWindow>, 3> countdowns_;
    // The edit dialog, and the instruction it edits (empty when no edit is
    // open) with the table that holds it.
    QPointer<FormEdit> FormEdit_;
    QString editLine_, editSource_;
    GridLines* gridLines_ = nullptr;
    EmergencyMode emergency_{settings_.path(file::Emergency)};
    // What the emergency did to the back player, to undo it.
    int emergencyBackVolume_ = -1;
    bool emergencyRing_ = false;
    FileFollower* follower_ = nullptr;
    bool tableRefused_ = false;
    // The line input and microphone as last switched by an action; -1 unknown.
    int lineInState_ = -1, micState_ = -1;
    void holdSleep();
    // Held while awake: the sleep waits until PrepareForSleep has been seen.
    QDBusUnixFileDescriptor sleepLock_;
    int missedCount_ = 0;
    QTime startSecond_;
    std::optional<QDateTime> asleepSince_;
    // The walks under way, back and front.
    std::array<std::shared_ptr<FolderWalkJob>, 2> folderWalks_;
    int folderWalkLimitMs_ = 30000;
    std::function<void()> folderWalkHook_;
    // The scheduled line whose ring is sounding, and the ring player's last failure.
    QString ringLine_, ringFailure_;
    QDateTime lastRunSecond_;
    QTimer* rowHighlight_ = nullptr;
};

} // namespace campanor
