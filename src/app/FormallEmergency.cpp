#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/Clock.h"
#include "common/FileFollower.h"
#include "common/LogWords.h"
#include "common/Prompter.h"
#include "players/MediaPlayer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace campanor {

void Formall::setUpOutside() {
    follower_ = new FileFollower(this);
    follower_->follow({CurrentTablePath});
    emergency_.load();
    if (emergency_.on())
        QTimer::singleShot(0, this, [this] { applyEmergency(); });
}

void Formall::buildEmergencyBanner() {
    // Above everything the window holds: a banner and the table file's warning.
    QWidget* old = takeCentralWidget();
    auto* host = new QWidget(this);
    auto* column = new QVBoxLayout(host);
    column->setContentsMargins(0, 0, 0, 0);
    EmergencyBanner = new QWidget(host);
    EmergencyBanner->setObjectName(QStringLiteral("EmergencyBanner"));
    EmergencyBanner->setStyleSheet(
        QStringLiteral("background: #c00000; color: white; font-weight: bold; font-size: 16pt;"));
    auto* row = new QHBoxLayout(EmergencyBanner);
    EmergencyText = new QLabel(EmergencyBanner);
    EmergencyText->setObjectName(QStringLiteral("EmergencyText"));
    EmergencyEnd = new QPushButton(QStringLiteral("结束紧急广播"), EmergencyBanner);
    EmergencyEnd->setObjectName(QStringLiteral("EmergencyEnd"));
    row->addWidget(EmergencyText, 1);
    row->addWidget(EmergencyEnd);
    connect(EmergencyEnd, &QPushButton::clicked, this, [this] { endEmergency(); });
    EmergencyBanner->hide();
    TableWarning = new QLabel(host);
    TableWarning->setObjectName(QStringLiteral("TableWarning"));
    TableWarning->setStyleSheet(QStringLiteral("color: #c00000;"));
    TableWarning->setWordWrap(true);
    TableWarning->hide();
    column->addWidget(EmergencyBanner);
    column->addWidget(TableWarning);
    column->addWidget(old, 1);
    setCentralWidget(host);
}

void Formall::carryOutDue(const QString& line) {
    if (emergency_.on()) {
        tick_.deferOutcome(line, logword::suspended());
        return;
    }
    DispatchAction(line);
}

void Formall::Emergency_Click() {
    if (emergency_.on()) {
        if (services_.prompter->message(this, QStringLiteral("结束紧急广播吗？"),
                                        Prompter::Icon::Question,
                                        Prompter::Buttons::YesNoDefaultNo) == Prompter::Answer::Yes)
            endEmergency();
        return;
    }
    if (services_.prompter->message(
            this,
            QStringLiteral("开始紧急广播吗？\n所有指令暂停执行，前置播音器循环播放紧急曲目表。"),
            Prompter::Icon::Warning, Prompter::Buttons::YesNoDefaultNo) == Prompter::Answer::Yes)
        startEmergency(QString());
}

QString Formall::startEmergency(const QString& playlist) {
    const QString list = playlist.isEmpty() ? settings_.path(file::EmergencyList) : playlist;
    if (!emergency_.start(list, services_.clock->now()))
        return QStringLiteral("紧急广播已经开始");
    // After the answer: the fade holds the thread for a while.
    QTimer::singleShot(0, this, [this] { applyEmergency(); });
    return {};
}

QString Formall::endEmergency() {
    const QDateTime since = emergency_.since();
    if (!emergency_.end(services_.clock->now()))
        return QStringLiteral("紧急广播没有开始");
    QTimer::singleShot(0, this, [this, since] { liftEmergency(since); });
    return {};
}

void Formall::applyEmergency() {
    if (!emergency_.on())
        return;
    EmergencyText->setText(
        QStringLiteral("紧急广播中（开始于 %1）")
            .arg(emergency_.since().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    EmergencyBanner->show();
    ringLine_.clear();
    ringPlayer()->Stop();
    // An announcement playing gives the back player its volume back first.
    dropPlayer(ReportPlayer);
    if (FromPlayer && FromPlayer->MediaPlayer1->playState() == MediaControl::Playing) {
        emergencyBackVolume_ = FromPlayer->Slider2->value();
        FromPlayer->fadeVolumeTo(0);
        FromPlayer->Command6_Click();
    }
    // The alarm list loops; without one that plays, the default ring does.
    const QString list = emergency_.playlist();
    PlayerWindow* front =
        QFileInfo(list).isFile() ? startPlayer(PlayerWindow::Role::Front, list) : nullptr;
    if (front) {
        front->Option3->setChecked(true);
        front->Text7->setText(QStringLiteral("1"));
        front->Command7_Click();
    }
    if (ReportPlayer && ReportPlayer->List1->count() > 0) {
        AsRunLog::write(QStringLiteral("紧急广播：循环播放曲目表 %1").arg(list));
        return;
    }
    reportProblem(
        QStringLiteral("紧急广播：曲目表 %1 不存在或没有可播放的曲目，循环播放默认铃声").arg(list));
    emergencyRing_ = true;
    loopEmergencyRing();
}

void Formall::loopEmergencyRing() {
    if (!emergency_.on() || !emergencyRing_)
        return;
    DueRingPath = DefaultRingPath;
    try {
        Command8_Click();
    } catch (const std::exception& failure) {
        emergencyRing_ = false;
        reportProblem(QStringLiteral("紧急广播：默认铃声无法播放：") +
                      QString::fromStdString(failure.what()));
    }
}

void Formall::liftEmergency(const QDateTime& since) {
    EmergencyBanner->hide();
    emergencyRing_ = false;
    ringPlayer()->Stop();
    // Closing the front gives the back player its volume back.
    dropPlayer(ReportPlayer);
    if (FromPlayer && emergencyBackVolume_ >= 0) {
        FromPlayer->Command5_Click();
        FromPlayer->fadeVolumeTo(emergencyBackVolume_);
    }
    emergencyBackVolume_ = -1;
    // What the suspended lines would have put in effect by now (a back list,
    // a switch, a table) is put back as after a start; the moments among
    // them (rings, announcements) are not replayed.
    const QDate today = clock_.date();
    const QTime from = since.isValid() && since.date() == today ? since.time() : QTime(0, 0, 0);
    restoreDay(QStringLiteral("紧急广播结束"), from, std::nullopt, true);
}

void Formall::followTableFile() {
    if (!follower_)
        return;
    follower_->follow({CurrentTablePath, calendar_.path()});
    const QStringList changed = follower_->takeChanged();
    if (changed.contains(calendar_.path()))
        followCalendarFile();
    if (!changed.contains(CurrentTablePath))
        return;
    const RecordRead read = readTableFile(CurrentTablePath);
    if (read.status != ReadStatus::Ok || read.lossy || !read.problem.isEmpty()) {
        if (!tableRefused_) {
            const QString why = read.problem.isEmpty() ? QStringLiteral("无法读取") : read.problem;
            reportProblem(
                QStringLiteral(
                    "指令表文件被外部修改，但无法完整读取（%1），继续使用原来的指令表：%2")
                    .arg(why, CurrentTablePath));
            TableWarning->setText(
                QStringLiteral("指令表文件被外部修改，但无法完整读取，继续使用原来的指令表：") +
                CurrentTablePath);
            TableWarning->show();
        }
        tableRefused_ = true;
        return;
    }
    if (tableRefused_) {
        tableRefused_ = false;
        TableWarning->hide();
        AsRunLog::write(QStringLiteral("指令表文件又可以读取了：") + CurrentTablePath);
    }
    if (read.value == table_.tableText())
        return; // our own write, or nothing that matters
    AsRunLog::write(QStringLiteral("指令表文件被外部修改，已重新读取：") + CurrentTablePath);
    LoadInstructionTable();
}

} // namespace campanor
