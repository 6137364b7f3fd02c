#pragma once

#include "MediaControl.h"
#include "common/Prompter.h"
#include "common/Settings.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace campanor {

class FileDialogs;
class FormSelectFiles;

class PlayerWindow;

// What a player window needs from the rest of the program.
struct PlayerContext {
    QString programFolder;
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    // The main window's search folder handed to the next player load.
    QString* memPath = nullptr;
    std::function<MediaControl*(QObject* parent)> makeMedia;
    // The other player, when its window is loaded.
    std::function<PlayerWindow*()> backPlayer;
    std::function<PlayerWindow*()> frontPlayer;
    // How long a volume fade takes.
    int fadeMs = 1500;
};

// A broadcast player window: the back player (FromPlayer, background
// programme) or the front player (ReportPlayer, announcements, which ducks
// the back player while it is loaded).
class PlayerWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Role { Back, Front };

    PlayerWindow(Role role, PlayerContext context, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    Role role() const { return role_; }
    bool isFront() const { return role_ == Role::Front; }
    // A position or length as the windows show it: "mm:ss".
    static QString minutesAndSeconds(double seconds);

    // The load: false when the playlist is missing, and the window closed itself.
    bool Form_Load();

    // Play entries.
    void Command7_Click();  // static play
    void Command13_Click(); // dynamic play
    void Command15_Click(); // memory play
    void Command5_Click();  // play / resume
    void Command6_Click();  // pause
    void MediaPlayer1_EndOfStream();
    // A track that cannot be played is passed over as if it had ended.
    void MediaPlayer1_Failed(const QString& path, const QString& message);
    // The next track of the list, handed over gaplessly, has started.
    void MediaPlayer1_NextStarted(const QString& path);
    void Timer3_Timer(); // position display
    void Timer4_Timer(); // memory-play seconds
    void setCurrent(int index);
    // Puts the playing list at `track`, `seconds` in, where it would be had
    // it played since its start (the day picked up after a start or a resume).
    void playFrom(int track, double seconds);
    // The lengths of the list's tracks, measured as memory play measures them.
    QList<double> trackLengths();

    // Memory panel.
    void Command16_Click(); // stop the memory run
    void Command17_Click(); // store the typed memory position
    void Command18_Click(); // hold the memory run
    void Command19_Click(); // resume the memory run

    // List editing and the other controls.
    void Command1_Click(); // add: opens the track picker
    void AddSelectFiles();
    void Command2_Click();  // delete
    void Command3_Click();  // clear
    void Command9_Click();  // open
    void Command10_Click(); // save as
    void Command11_Click(); // new
    void Command14_Click(); // make default
    void Check3_Click();    // file order
    void Check4_Click();    // random order
    void Check1_Click();    // mute
    void List1_DblClick();

    // Volume and balance menus.
    void ReadFromPLFVolume_Click();
    void ReadFromPLFBalance_Click();
    void SaveToPLFVolume_Click();
    void SaveToPLFBalance_Click();
    void ReadFromSearchDirectoryVolume_Click();
    void ReadFromSearchFileBalance_Click();
    void SaveToSearchDirectoryVolume_Click();
    void SaveToSearchFileBalance_Click();

    // Ducking between the two players.
    void duckBackPlayer();
    void fadeVolumeTo(int target);

    // Adds the seconds counted in a memory-play run to the memory file now.
    void flushMemory();
    // Closed, or closing: a window that waits in a message box is deleted
    // only once the box is answered.
    bool isClosing() const { return closing_; }

  signals:
    // The window has closed; it may linger until its open box is answered.
    void closed();

  public:
    // Public fields through which windows and the scheduler coordinate.
    QString PLFFile;
    QString RealFileName;
    QString PlayFileString;
    QStringList FileOrder;
    QStringList ShuffledOrder;
    QString DefaultListPath;
    QString PlayerPath;
    bool onShow = false; // back player: loaded
    bool OnPlay = false; // front player: loaded and not yet closed
    int myv = 0;         // front player: the back player's volume before ducking
    bool Spot = false;
    qint64 MemoryTicks = 0;
    bool MemoryHeld = false;
    // The picker's result, read by AddSelectFiles.
    QString SelectFilesString;

    // Controls, named as the system names them.
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
    QLineEdit *Text6 = nullptr, *Text7 = nullptr;
    QListWidget* List1 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr;
    QCheckBox *Check1 = nullptr, *Check3 = nullptr, *Check4 = nullptr;
    QSlider *Slider1 = nullptr, *Slider2 = nullptr, *Slider3 = nullptr;
    QLabel *SkinLabel1 = nullptr, *SkinLabel10 = nullptr, *PositionLabel = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr;
    QPushButton *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr;
    QPushButton *Command9 = nullptr, *Command10 = nullptr, *Command11 = nullptr;
    QPushButton *Command13 = nullptr, *Command14 = nullptr, *Command15 = nullptr;
    QPushButton *Command16 = nullptr, *Command17 = nullptr, *Command18 = nullptr;
    QPushButton* Command19 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QMenuBar* menuBar = nullptr;
    QTimer *Timer3 = nullptr, *Timer4 = nullptr;
    MediaControl* MediaPlayer1 = nullptr;

    FormSelectFiles* picker() const;
    const Settings& settings() const { return settings_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWidgets();
    void buildMenus();
    void connectControls();
    void place();

    // Engine steps.
    void readDefaultPlaylist();
    enum class LoadResult { Ok, Missing, Unreadable };
    LoadResult LoadPlaylistText(const QString& path, bool cleanUp);
    void fillList(bool shuffled);
    void loadForPlay(bool shuffled);
    void playFromTheTop(bool shuffled);
    void startDuckedUnderFront();
    void selectLine(int index);
    QString lineAt(int index) const;
    int currentIndex() const;
    void openTrack(const QString& path);
    void closeTrack();
    void refreshDuration();
    void showPlaying(bool playing);
    void finishList();
    int nextIndexAfter(int index) const;
    void queueNext();
    QString playableLine(int index);
    void connectMedia();
    void applyListSettings(bool fromSearchFolder);
    void setLabels(const QString& path);

    // Command steps.
    void reshowList();
    void prepareForAnotherList();
    void adoptNewList(const QString& path);
    void rewriteAndReload(const QString& text, const QString& keepCurrent);
    QString searchFolderOrComplain();
    bool refuseUnreadableList();

    // Every box and file dialog the window waits in goes through here: the
    // window may be closed meanwhile, and must outlive the box.
    template <typename F> auto waitIn(F&& wait) {
        ++modalDepth_;
        auto result = wait();
        if (--modalDepth_ == 0 && closing_)
            deleteLater();
        return result;
    }
    Prompter::Answer ask(const QString& text, Prompter::Icon icon,
                         Prompter::Buttons buttons = Prompter::Buttons::Ok);
    void readSlider(QSlider* slider, const QString& path, const QString& missingMessage);

    Role role_;
    PlayerContext context_;
    Settings settings_;
    QPointer<FormSelectFiles> picker_;
    bool closing_ = false;
    int modalDepth_ = 0;
    // Unplayable tracks met one after the other since a track last played.
    int failuresInARow_ = 0;
    // The line handed to the media to follow the current track gaplessly.
    int queuedIndex_ = -1;
    // The list could not be read: editing it would overwrite what it holds.
    bool listUnreadable_ = false;
};

} // namespace campanor
