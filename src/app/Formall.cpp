#include "Formall.h"

#include "ActionFailure.h"
#include "Version.h"
#include "common/AsRunLog.h"
#include "common/AutoStart.h"
#include "common/Clock.h"
#include "common/LogWords.h"
#include "common/Power.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/ServiceNotify.h"
#include "dialogs/FormSelectDirctory.h"
#include "frmAbout.h"
#include "mixer/Class1.h"
#include "players/MediaPlayer.h"
#include "scheduler/CountdownWindow.h"
#include "table/ComposerPanel.h"
#include "table/FormEdit.h"
#include "table/InstructionLine.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace campanor {

Formall::Formall(const QString& programFolder, Services services, QWidget* parent)
    : QMainWindow(parent), settings_(programFolder), services_(std::move(services)),
      tick_(*services_.clock, clock_), calendar_(programFolder) {
    setObjectName(QStringLiteral("Formall"));
    setWindowTitle(kAppTitle);
    buildWidgets();
    buildEmergencyBanner();
    buildMenus();
    connectCommands();

    tick_.setDueHandler([this](const QString& line) { carryOutDue(line); });
    tick_.setFailureHandler([this](const QString& line) { markFailedInstruction(line); });
    tick_.setDayHandler([this](const QDate& date) { return beginCalendarDay(date); });
    // What a restore puts back starts from the table the calendar gives the day.
    dayTable = [this](const QDate& date) {
        return calendar_.inUse() ? calendar_.calendar().resolve(date, DefaultTablePath).table
                                 : DefaultTablePath;
    };

    // The schedule starts in Form_Load. Each tick arms the next one against
    // the system clock, so the ticks never drift off the start of the second.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &Formall::Timer1_Timer);
}

// An open edit leaves its instruction in the table: nothing to put back.
Formall::~Formall() = default;

void Formall::buildWidgets() {
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    composer = buildComposer(central);
    List1 = composer->List1;
    List2 = composer->List2;
    List3 = composer->List3;
    layout->addWidget(composer);
    layout->addWidget(buildTableSide(central), 1);
    // On a small screen the window scrolls rather than cut off its edge.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("CentralScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    resize(1230, 720);
}

ComposerPanel* Formall::buildComposer(QWidget* parent) {
    ComposerPanel::Host host;
    host.prompter = services_.prompter;
    host.dialogs = services_.dialogs;
    host.programFolder = settings_.folder();
    host.loadedLines = [this] { return table_.lines(); };
    host.defaultRingPath = [this] { return DefaultRingPath; };
    host.builtInRingPath = [this] { return BuiltInRingPath; };
    host.commit = [this](const QString& realString) {
        RealString = realString;
        const bool stored = CommitInstruction(realString);
        // A week in one step is several lines in one write: one log line each.
        for (const QString& line : realString.split(u'|', Qt::SkipEmptyParts)) {
            if (stored)
                AsRunLog::write(QStringLiteral("指令表：增加 ") + line);
            else
                reportProblem(QStringLiteral("指令没有保存：") + line);
        }
        return stored;
    };
    host.showFolderPicker = [this] { showFolderPicker(); };
    return new ComposerPanel(std::move(host), parent);
}

void Formall::Form_Load() {
    if (needsFirstRunReset(settings_)) {
        RunFirstRunReset(settings_, [this] { AUTORUNNO_Click(); });
    }

    if (Skin1.LoadSkin(settings_.read(file::SkinFile)))
        Skin1.ApplySkin(this);
    showSkinInUse();
    useSoundDevice(readSoundDevice(settings_));
    move(0, 0);
    tick_.start();
    startSecond_ = clock_.second().time();
    Timer1->start(tick_.msUntilNextSecond());
    RadioLineIn = settings_.read(file::Radio).toInt();

    const QString autoRun = settings_.read(file::AutoRunYesNo);
    AUTORUNYES->setChecked(autoRun == QStringLiteral("YES"));
    AUTORUNNO->setChecked(autoRun == QStringLiteral("NO"));

    composer->fillTimeLists();

    setCaption();
    setUpRing();
    setUpDefaultTable();

    if (LoadInstructionTable() != ReadStatus::Ok)
        recoverFromTableFailure();
    tick_.beginDay();
    refreshNextInstruction();

    readPowerPrompts();
    setUpOutside();
    MenuRestoreAtStart->setChecked(settings_.read(file::RestoreAtStart) != QStringLiteral("NO"));
    const QString show = settings_.read(file::Show);
    startHidden_ = show == QStringLiteral("hide");
    FormHide->setChecked(startHidden_);
    FormShow->setChecked(show == QStringLiteral("show"));
}

void Formall::showAtStartUp() {
    if (startHidden_)
        showMinimized();
    else
        showNormal();
    // Never larger than the screen: what does not fit scrolls.
    if (const QScreen* shown = screen()) {
        const QRect room = shown->availableGeometry();
        resize(std::min(width(), room.width()), std::min(height(), room.height()));
    }
    move(0, 0);
}

void Formall::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void Formall::setCaption() {
    const QString unit = settings_.read(file::User);
    QString caption = kAppTitle + u' ' + versionText();
    if (!unit.isEmpty())
        caption += QStringLiteral("   使用单位：") + unit;
    setWindowTitle(caption);
}

void Formall::setUpRing() {
    BuiltInRingPath = settings_.path(file::BuiltInRing);
    const RecordRead stored = settings_.readChecked(file::UserWav);
    DefaultRingPath = stored.value;
    if (DefaultRingPath.isEmpty()) {
        DefaultRingPath = BuiltInRingPath;
        humor->setEnabled(false);
        if (stored.status != ReadStatus::Unreadable)
            settings_.writeText(file::UserWav, BuiltInRingPath);
    } else {
        humor->setEnabled(!samePathIgnoringCase(DefaultRingPath, BuiltInRingPath));
    }
    CurrentRing->setText(DefaultRingPath);
}

void Formall::setUpDefaultTable() {
    const RecordRead stored = settings_.readChecked(file::DefaultDTT);
    DefaultTablePath = stored.value;
    if (DefaultTablePath.isEmpty() || !QFileInfo::exists(DefaultTablePath)) {
        const QString absent = absentFolderOf(DefaultTablePath);
        const QString named = DefaultTablePath;
        DefaultTablePath = settings_.path(file::DefaultTable);
        if (!absent.isEmpty()) {
            // A share or a stick not mounted yet: the stored table is tried
            // again at the next start, so DefaultDTT.txt keeps naming it.
            reportProblem(QStringLiteral("默认指令表 %1 所在的文件夹 %2 不存在，本次启动使用 %3，"
                                         "下次启动再试")
                              .arg(named, absent, DefaultTablePath));
            services_.prompter->notice(
                this,
                QStringLiteral("默认指令表所在的文件夹不存在：") + absent +
                    QStringLiteral("\n本次启动使用程序自带的指令表 ") + DefaultTablePath +
                    QStringLiteral("，下次启动时再装入原来的默认指令表：") + named,
                Prompter::Icon::Warning);
        } else if (stored.status != ReadStatus::Unreadable && !stored.lossy) {
            settings_.writeText(file::DefaultDTT, DefaultTablePath);
        }
    }
    SetCurrentTable(DefaultTablePath, true);
}

void Formall::recoverFromTableFailure() {
    // Only a missing default table is created empty: another table that failed
    // to load must not cost the user a readable Default.DTT, and a Default.DTT
    // that is there but cannot be read is left for the operator to look at.
    const QString defaultTable = settings_.path(file::DefaultTable);
    if (samePathIgnoringCase(CurrentTablePath, defaultTable) &&
        readTableFile(defaultTable).status == ReadStatus::Missing)
        writeTableFile(defaultTable, QString());
}

ReadStatus Formall::LoadInstructionTable() {
    const ReadStatus status = table_.load(CurrentTablePath);
    showTable();
    return status;
}

void Formall::showTable() {
    Text1->setText(QString::number(table_.count()));
    FillInstructionList();
    keepSelection();
    refreshNextInstruction();
}

void Formall::FillInstructionList() {
    ListView1->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(table_.count());
    int position = 1;
    for (const QString& line : table_.lines()) {
        QStringList cells{QString::number(position++)};
        if (const auto instruction = Instruction::parse(line))
            cells << instruction->shownComment() << instruction->dayRule << instruction->time
                  << instruction->action;
        else
            cells << QString() << QString() << QString() << line;
        auto* row = new QTreeWidgetItem(cells);
        // A long action field is cut off in its column: the row shows it whole.
        for (int column = 0; column < 5; ++column)
            row->setToolTip(column, cells[4]);
        rows << row;
    }
    ListView1->addTopLevelItems(rows);
}

QString Formall::rowLine(int row) const {
    const QTreeWidgetItem* item = ListView1->topLevelItem(row);
    if (!item)
        return {};
    return Instruction{item->text(3), item->text(1), item->text(2), item->text(4)}.line();
}

bool Formall::CommitInstruction(const QString& realString) {
    const bool stored = table_.commit(CurrentTablePath, realString);
    showTable();
    if (!stored)
        return false;
    // Of several lines stored at once, the first is selected.
    const QString line = realString.section(u'|', 1, 1);
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
        if (rowLine(row) == line) {
            ListView1->setCurrentItem(ListView1->topLevelItem(row));
            ListView1->setFocus();
            VS = line;
            break;
        }
    }
    return true;
}

void Formall::SetCurrentTable(const QString& path, bool atStartUp) {
    CurrentTablePath = path;
    VS.clear(); // chosen in the table left behind
    const QFileInfo info(path);
    SkinLabel2->setText(QStringLiteral("文件:") + (info.exists() ? info.fileName() : QString()));
    SkinLabel2->setToolTip(QStringLiteral("文件:") + path);
    if (atStartUp) {
        Command7->setEnabled(false);
        Command7->setToolTip(QStringLiteral("当前默认的指令表是：") + DefaultTablePath);
        return;
    }
    Command7->setEnabled(!samePathIgnoringCase(path, DefaultTablePath));
}

void Formall::Timer1_Timer() {
    // The watchdog hears from every tick: a user-interface thread held up
    // for longer than its time is ended and started again.
    serviceNotify::alive();
    // Armed first: an executor that spins an event loop must not stop the
    // schedule; a tick that comes inside it does nothing and tries again.
    Timer1->start(TickLoop::kCatchUpPaceMs);
    followTableFile();
    const TickLoop::Result result = tick_.tick(table_.lines());
    if (result.caption.isEmpty())
        return;
    Timer1->start(result.nextTickMs);
    DisplayTimeLabel->setText(result.caption);
    refreshNextInstruction();
}

void Formall::MenuJustMyTimeAuto_Click() {
    Timer1->stop();
    const qint64 lag = tick_.calibrate();
    Timer1->start(tick_.msUntilNextSecond());
    // The operator sees what the click did; the log has it too.
    QString said = QStringLiteral("内部时钟与系统时钟一致，不需要校时。");
    if (lag > 0)
        said = QStringLiteral("内部时钟慢了 %1 秒，已校到系统时钟的 %2（其间的指令不补执行）。")
                   .arg(lag)
                   .arg(clock_.text());
    else if (lag < 0)
        said = QStringLiteral("内部时钟快了 %1 秒，将停走到系统时钟赶上为止（指令不会重复执行）。")
                   .arg(-lag);
    services_.prompter->notice(this, said, Prompter::Icon::Information);
}

void Formall::switchMixerLine(bool lineIn, int muted) {
    // A scheduled switch must never wait on a person: the message is shown modeless.
    Class1 mixer([this](const QString& message) {
        services_.prompter->notice(this, message, Prompter::Icon::None);
    });
    const QString device = Class1::deviceName();
    if (!mixer.opened())
        failAction(QStringLiteral("找不到声卡混音器 %1（%2）").arg(device, mixer.lastError()));
    const Class1::Line line = lineIn ? Class1::LineIn : Class1::Microphone;
    const QString name =
        lineIn ? QStringLiteral("线路输入（Line 或 Aux）") : QStringLiteral("麦克风（Mic）");
    if (!mixer.muteFound(line))
        failAction(QStringLiteral("声卡混音器 %1 没有%2的开关").arg(device, name));
    if (lineIn)
        mixer.setLineInMute(muted);
    else
        mixer.setMicroMute(muted);
    if (mixer.lastResult() < 0)
        failAction(
            QStringLiteral("声卡混音器 %1 无法切换%2（%3）").arg(device, name, mixer.lastError()));
}

void Formall::LineInOn() {
    switchMixerLine(true, 0);
}
void Formall::LineInOff() {
    switchMixerLine(true, 1);
}
void Formall::MicOn() {
    switchMixerLine(false, 0);
}
void Formall::MicOff() {
    switchMixerLine(false, 1);
}

MediaPlayer* Formall::ringPlayer() {
    // Made on first use or right after the first frame, never before it: the
    // sound system's start costs the window its first paint otherwise. An
    // idle one is made anew when another output has been chosen since.
    if (MediaPlayer1 && MediaPlayer1->playState() != MediaControl::Playing &&
        MediaPlayer1->sink() != MediaPlayer::sinkDescription()) {
        delete MediaPlayer1;
        MediaPlayer1 = nullptr;
    }
    if (!MediaPlayer1) {
        MediaPlayer1 = new MediaPlayer(this);
        MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
        connect(MediaPlayer1, &MediaPlayer::endOfStream, this, &Formall::MediaPlayer1_EndOfStream);
        connect(MediaPlayer1, &MediaPlayer::failed, this, &Formall::MediaPlayer1_Failed);
    }
    return MediaPlayer1;
}

void Formall::prepareSound() {
    ringPlayer();
    MediaPlayer::warmUp(DefaultRingPath);
}

void Formall::Command8_Click() {
    ringPlayer()->Stop();
    // A look at the file costs far less than the sound system's attempt, and
    // names the fault exactly; the ring before is cut off either way.
    const QFileInfo file(DueRingPath);
    QString why;
    if (!file.exists())
        why = QStringLiteral("铃声文件不存在：");
    else if (!file.isFile() || !file.isReadable())
        why = QStringLiteral("铃声文件无法读取：");
    if (!why.isEmpty()) {
        MediaPlayer1->setFileName(QString());
        failAction(why + DueRingPath);
    }
    ringFailure_.clear();
    MediaPlayer1->setFileName(DueRingPath);
    // The file is opened before setFileName returns: one that is not a sound
    // has failed by now.
    if (MediaPlayer1->playState() != MediaControl::Playing)
        failAction(QStringLiteral("铃声文件无法播放（%1）：%2").arg(ringFailure_, DueRingPath));
    MediaPlayer1->Play();
}

void Formall::MediaPlayer1_EndOfStream() {
    ringLine_.clear();
    MediaPlayer1->setFileName(QString());
    if (emergencyRing_) // the alarm without a list sounds again
        QTimer::singleShot(0, this, [this] { loopEmergencyRing(); });
}

void Formall::MediaPlayer1_Failed(const QString& path, const QString& message) {
    ringFailure_ = message;
    // A scheduled ring that broke off after its tick had written it down as
    // done: the log says so and the instruction is marked after all.
    if (ringLine_.isEmpty() || path != MediaPlayer1->fileName())
        return;
    const QString line = std::exchange(ringLine_, QString());
    const QString why = QStringLiteral("铃声播放中断（%1）：%2").arg(message, path);
    reportProblem(QStringLiteral("指令开始后") + logword::failed(why) + logword::kColon + line);
    markFailedInstruction(line);
    showLastRun(lastRunSecond_, line, logword::failed(why), true);
}

void Formall::OpenTableByInstruction(const QString& path) {
    SetCurrentTable(path);
    LoadInstructionTable();
}

void Formall::markFailedInstruction(const QString& line) {
    if (!table_.markFailed(CurrentTablePath, line))
        return;
    // The marked line is the same instruction: still chosen, still edited.
    const QString marked = markedAsFailed(line);
    if (VS == line)
        VS = marked;
    if (editLine_ == line && samePathIgnoringCase(editSource_, CurrentTablePath))
        editLine_ = marked;
    showTable();
}

void Formall::MenuzExit_Click() {
    if (services_.prompter->message(this, QStringLiteral("真要退出程序吗?"),
                                    Prompter::Icon::Question,
                                    Prompter::Buttons::YesNoDefaultNo) == Prompter::Answer::Yes &&
        services_.exitNow) {
        cancelCountdowns();
        services_.exitNow();
    }
}

void Formall::closeEvent(QCloseEvent* event) {
    // One click must not stop the day's bells: the close box asks as the exit
    // command does, unless the session or the system is ending the program.
    const bool byOperator = !ending_;
    if (byOperator && services_.prompter->message(
                          this, QStringLiteral("真要退出程序吗?"), Prompter::Icon::Question,
                          Prompter::Buttons::YesNoDefaultNo) != Prompter::Answer::Yes) {
        event->ignore();
        return;
    }
    ending_ = true;
    // Each player closes its own track picker. Closing the edit dialog puts
    // its instruction back.
    dropPlayer(ReportPlayer);
    dropPlayer(FromPlayer);
    if (about_)
        about_->close();
    if (help_)
        help_->close();
    if (FormEdit_)
        FormEdit_->close();
    if (folderPicker_)
        folderPicker_->close();
    if (asRunLog_)
        asRunLog_->close();
    if (MediaPlayer1)
        MediaPlayer1->setFileName(QString());
    cancelCountdowns();
    event->accept();
    // Whatever else is still open, the program ends with its main window.
    if (byOperator && services_.exitNow)
        services_.exitNow();
}

} // namespace campanor
