#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/Clock.h"
#include "common/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace campanor {

void Formall::buildStatusLines(QVBoxLayout* layout, QWidget* parent) {
    auto* lines = new QHBoxLayout;
    NextInstruction = new ElidedLabel(parent);
    NextInstruction->setObjectName(QStringLiteral("NextInstruction"));
    NextInstruction->setAccessibleName(QStringLiteral("下一条指令"));
    NextInstruction->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lines->addWidget(NextInstruction, 1);
    TomorrowLine = new ElidedLabel(parent);
    TomorrowLine->setObjectName(QStringLiteral("TomorrowLine"));
    TomorrowLine->setAccessibleName(QStringLiteral("明天"));
    TomorrowLine->hide();
    lines->addWidget(TomorrowLine, 1);
    buildLastRun(lines, parent);
    layout->addLayout(lines);
    buildMissedLine(layout, parent);

    ClockHealthLabel = new QLabel(parent);
    ClockHealthLabel->setObjectName(QStringLiteral("ClockHealthLabel"));
    ClockHealthLabel->setAccessibleName(QStringLiteral("系统时钟同步状态"));
    ClockHealthLabel->setWordWrap(true);
    ClockHealthLabel->hide();
    layout->addWidget(ClockHealthLabel);
    buildCalendarWarning(layout, parent);

    if (ClockHealth* health = services_.clockHealth) {
        connect(health, &ClockHealth::stateChanged, this, &Formall::showClockHealth);
        showClockHealth(health->state());
    }
}

void Formall::showClockHealth(ClockHealth::State state) {
    const QString text = clockHealthText(state);
    ClockHealthLabel->setText(text);
    ClockHealthLabel->setVisible(!text.isEmpty());
    // The warning must stand out whatever the skin draws around it.
    ClockHealthLabel->setStyleSheet(clockHealthIsWarning(state)
                                        ? QStringLiteral("QLabel { color: #b00000; background: "
                                                         "#fff0c0; font-weight: bold; "
                                                         "padding: 2px; }")
                                        : QStringLiteral("QLabel { color: #206020; }"));
}

void Formall::refreshNextInstruction() {
    if (!NextInstruction)
        return;
    if (nextInstruction_.update(table_.lines(), clock_.text(), clock_.date(),
                                tick_.day().ruleWeekday, tick_.day().holiday))
        NextInstruction->setText(nextInstructionText(nextInstruction_.next()));
}

void Formall::MenuAsRunLog_Click() {
    if (!asRunLog_) {
        asRunLog_ =
            new AsRunLogWindow(AsRunLog::folderIn(settings_.folder()), *services_.clock, this);
        asRunLog_->setAttribute(Qt::WA_DeleteOnClose);
        centreOver(asRunLog_, this);
    } else {
        asRunLog_->showDay(services_.clock->now().date());
    }
    asRunLog_->show();
    asRunLog_->raise();
    asRunLog_->activateWindow();
}

} // namespace campanor
