#include "Formall.h"

#include "Version.h"
#include "common/AutoStart.h"
#include "common/Clock.h"
#include "common/Power.h"
#include "common/Processes.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "frmAbout.h"
#include "mixer/Class1.h"
#include "players/MediaPlayer.h"
#include "scheduler/CountdownWindow.h"
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
#include <QTreeWidget>
#include <QVBoxLayout>

namespace campanor {

Formall::Formall(const QString& programFolder, Services services, QWidget* parent)
    : QMainWindow(parent), settings_(programFolder), services_(std::move(services)),
      tick_(*services_.clock, clock_) {
    setObjectName(QStringLiteral("Formall"));
    setWindowTitle(kAppTitle);
    buildWidgets();
    buildMenus();
    connectCommands();

    MediaPlayer1 = new MediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    connect(MediaPlayer1, &MediaPlayer::endOfStream, this, &Formall::MediaPlayer1_EndOfStream);

    tick_.setDueHandler([this](const QString& line) { DispatchAction(line); });
    tick_.setFailureHandler([this](const QString& line) { markFailedInstruction(line); });

    // The schedule runs from the moment the window exists. Each tick arms the
    // next one against the system clock, so the ticks never drift off the
    // start of the second.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &Formall::Timer1_Timer);
    tick_.start();
    Timer1->start(tick_.msUntilNextSecond());
}

Formall::~Formall() = default;

void Formall::buildWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);

    auto* timeBox = new QGroupBox(QStringLiteral("时间"), central);
    auto* timeLayout = new QHBoxLayout(timeBox);
    auto makeList = [&](const char* name) {
        auto* list = new QListWidget(timeBox);
        list->setObjectName(QLatin1String(name));
        list->setFixedWidth(48);
        timeLayout->addWidget(list);
        return list;
    };
    List1 = makeList("List1");
    List2 = makeList("List2");
    List3 = makeList("List3");
    layout->addWidget(timeBox);

    auto* right = new QVBoxLayout;
    SkinLabel2 = new QLabel(central);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    right->addWidget(SkinLabel2);

    ListView1 = new QTreeWidget(central);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(5);
    ListView1->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("注释"),
                                QStringLiteral("周期"), QStringLiteral("时间"),
                                QStringLiteral("响应方式")});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->header()->setStretchLastSection(true);
    ListView1->setColumnWidth(0, 50);
    ListView1->setColumnWidth(1, 140);
    ListView1->setColumnWidth(2, 110);
    ListView1->setColumnWidth(3, 80);
    right->addWidget(ListView1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("总记录数"), central));
    Text1 = new QLineEdit(central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setToolTip(QStringLiteral("总记录数"));
    Text1->setFixedWidth(60);
    bottom->addWidget(Text1);
    bottom->addStretch(1);
    Command7 = new QPushButton(QStringLiteral("默认"), central);
    Command7->setObjectName(QStringLiteral("Command7"));
    bottom->addWidget(Command7);
    right->addLayout(bottom);

    layout->addLayout(right, 1);
    setCentralWidget(central);
    resize(900, 560);
}

void Formall::Form_Load() {
    if (needsFirstRunReset(settings_)) {
        RunFirstRunReset(settings_, [this] { AUTORUNNO_Click(); });
    }

    if (Skin1.LoadSkin(settings_.read(file::SkinFile)))
        Skin1.ApplySkin(this);
    move(0, 0);
    tick_.start();
    Timer1->start(tick_.msUntilNextSecond());
    RadioLineIn = settings_.read(file::Radio).toInt();

    const QString autoRun = settings_.read(file::AutoRunYesNo);
    AUTORUNYES->setChecked(autoRun == QStringLiteral("YES"));
    AUTORUNNO->setChecked(autoRun == QStringLiteral("NO"));

    for (QListWidget* list : {List1, List2, List3}) {
        const int count = list == List1 ? 24 : 60;
        for (int i = 0; i < count; ++i)
            list->addItem(QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')));
    }

    setCaption();
    setUpRing();
    setUpDefaultTable();

    if (LoadInstructionTable() != ReadStatus::Ok)
        recoverFromTableFailure();

    readPowerPrompts();
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
    move(0, 0);
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
    DefaultRingPath = settings_.read(file::UserWav);
    if (DefaultRingPath.isEmpty()) {
        DefaultRingPath = BuiltInRingPath;
        humor->setEnabled(false);
        settings_.writeText(file::UserWav, BuiltInRingPath);
    } else {
        humor->setEnabled(!samePathIgnoringCase(DefaultRingPath, BuiltInRingPath));
    }
    CurrentRing->setText(DefaultRingPath);
}

void Formall::setUpDefaultTable() {
    DefaultTablePath = settings_.read(file::DefaultDTT);
    if (DefaultTablePath.isEmpty() || !QFileInfo::exists(DefaultTablePath)) {
        DefaultTablePath = settings_.path(file::DefaultTable);
        settings_.writeText(file::DefaultDTT, DefaultTablePath);
    }
    SetCurrentTable(DefaultTablePath, true);
}

void Formall::recoverFromTableFailure() {
    // Only the default table itself is ever replaced by an empty one: another
    // table that failed to load must not cost the user a readable Default.DTT.
    const QString defaultTable = settings_.path(file::DefaultTable);
    if (samePathIgnoringCase(CurrentTablePath, defaultTable) &&
        readTableFile(defaultTable).status != ReadStatus::Ok)
        writeTableFile(defaultTable, QString());
}

void Formall::readPowerPrompts() {
    for (int i = 0; i < 3; ++i) {
        const PowerKind kind = powerKind(i);
        kind.text = settings_.read(kind.file);
        const QString flag = kind.text.left(1);
        kind.on->setChecked(flag == QStringLiteral("开"));
        kind.off->setChecked(flag == QStringLiteral("关"));
        kind.current->setText(QStringLiteral("当前值:") + kind.text.mid(1) + QStringLiteral("秒"));
    }
}

ReadStatus Formall::LoadInstructionTable() {
    const ReadStatus status = table_.load(CurrentTablePath);
    showTable();
    return status;
}

void Formall::showTable() {
    Text1->setText(QString::number(table_.count()));
    FillInstructionList();
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
        rows << new QTreeWidgetItem(cells);
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
    const QString line = realString.mid(1);
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
    // Armed first: an executor that spins an event loop must not stop the
    // schedule; a tick that comes inside it does nothing and tries again.
    Timer1->start(TickLoop::kCatchUpPaceMs);
    const TickLoop::Result result = tick_.tick(table_.lines());
    if (result.caption.isEmpty())
        return;
    Timer1->start(result.nextTickMs);
    DisplayTimeLabel->setText(result.caption);
}

void Formall::MenuJustMyTimeAuto_Click() {
    Timer1->stop();
    tick_.calibrate();
    Timer1->start(tick_.msUntilNextSecond());
}

void Formall::DispatchAction(const QString& line) {
    const Action action = recognizeAction(actionFieldOf(line));
    switch (action.kind) {
    case ActionKind::StartBackStatic:
        StartBackStatic(action.parameter);
        break;
    case ActionKind::StartBackMemory:
        StartBackMemory(action.parameter);
        break;
    case ActionKind::StartBackDynamic:
        StartBackDynamic(action.parameter);
        break;
    case ActionKind::StartFrontStatic:
        StartFrontStatic(action.parameter);
        break;
    case ActionKind::CloseFrontPlayer:
        CloseFrontPlayer();
        break;
    case ActionKind::CloseBackPlayer:
        CloseBackPlayer();
        break;
    case ActionKind::Ring:
        DueRingPath = action.parameter;
        Command8_Click();
        break;
    case ActionKind::OpenTable:
        OpenTableByInstruction(action.parameter);
        break;
    case ActionKind::LineInOn:
        LineInOn();
        break;
    case ActionKind::LineInOff:
        LineInOff();
        break;
    case ActionKind::MicOn:
        MicOn();
        break;
    case ActionKind::MicOff:
        MicOff();
        break;
    case ActionKind::ShutDown:
        powerAction(0);
        break;
    case ActionKind::Restart:
        powerAction(1);
        break;
    case ActionKind::LogOff:
        powerAction(2);
        break;
    case ActionKind::LaunchProgram:
        services_.processes->LaunchProgram(action.parameter);
        break;
    case ActionKind::EndLaunchedProgram:
        services_.processes->EndLaunchedProgram();
        break;
    default:
        // Carried out by the players, the mixer, the power and program parts.
        break;
    }
}

void Formall::powerAction(int kindIndex) {
    const PowerKind kind = powerKind(kindIndex);
    const CountdownWindow::Kind kinds[] = {CountdownWindow::Kind::ShutDown,
                                           CountdownWindow::Kind::Restart,
                                           CountdownWindow::Kind::LogOff};
    if (kind.off->isChecked()) {
        // Log-off ends the program once the request has gone out; the others
        // leave it running until the system closes it.
        runPowerRoutine(*services_.power, kinds[kindIndex],
                        kindIndex == 2 ? services_.exitNow : Power::Done{});
        return;
    }
    if (CountdownWindow* open = countdowns_[kindIndex]) {
        // Already counting: bring it forward, keep its count.
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    auto* window =
        new CountdownWindow(kinds[kindIndex], kind.text, *services_.power, services_.exitNow);
    countdowns_[kindIndex] = window;
    window->show();
}

void Formall::switchMixerLine(void (Class1::*set)(int), int value) {
    // A scheduled switch must never wait on a person: the message is shown modeless.
    Class1 mixer([this](const QString& message) {
        services_.prompter->notice(this, message, Prompter::Icon::None);
    });
    (mixer.*set)(value);
}

void Formall::LineInOn() {
    switchMixerLine(&Class1::setLineInMute, 0);
}
void Formall::LineInOff() {
    switchMixerLine(&Class1::setLineInMute, 1);
}
void Formall::MicOn() {
    switchMixerLine(&Class1::setMicroMute, 0);
}
void Formall::MicOff() {
    switchMixerLine(&Class1::setMicroMute, 1);
}

void Formall::Command8_Click() {
    MediaPlayer1->Stop();
    MediaPlayer1->setFileName(DueRingPath);
    MediaPlayer1->Play();
}

void Formall::MediaPlayer1_EndOfStream() {
    MediaPlayer1->setFileName(QString());
}

void Formall::OpenTableByInstruction(const QString& path) {
    SetCurrentTable(path);
    LoadInstructionTable();
}

void Formall::markFailedInstruction(const QString& line) {
    if (table_.markFailed(CurrentTablePath, line))
        showTable();
}

void Formall::MenuzExit_Click() {
    if (services_.prompter->message(this, QStringLiteral("真要退出程序吗?"),
                                    Prompter::Icon::Question,
                                    Prompter::Buttons::YesNo) == Prompter::Answer::Yes &&
        services_.exitNow)
        services_.exitNow();
}

void Formall::closeEvent(QCloseEvent* event) {
    // The edit dialog and the folder picker close here too once they exist;
    // each player closes its own track picker.
    dropPlayer(ReportPlayer);
    dropPlayer(FromPlayer);
    if (about_)
        about_->close();
    if (help_)
        help_->close();
    MediaPlayer1->setFileName(QString());
    event->accept();
}

} // namespace campanor
