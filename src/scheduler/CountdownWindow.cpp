#include "CountdownWindow.h"

#include "common/PowerNotice.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace campanor {

namespace {

struct Texts {
    const char* objectName;
    QString label;
    QString now;
    QString cancel;
};

Texts textsFor(CountdownWindow::Kind kind) {
    switch (kind) {
    case CountdownWindow::Kind::ShutDown:
        return {"FormShutDownWindows", QStringLiteral("秒后程序将强制关机"),
                QStringLiteral("立即关机"), QStringLiteral("取消关机")};
    case CountdownWindow::Kind::Restart:
        return {"FormRestartWindows", QStringLiteral("秒钟后将强制重新启动"),
                QStringLiteral("立即重启"), QStringLiteral("取消重启")};
    case CountdownWindow::Kind::LogOff:
        break;
    }
    return {"FormLogoff", QStringLiteral("秒后将注销用户"), QStringLiteral("立即注销"),
            QStringLiteral("取消注销")};
}

} // namespace

void runPowerRoutine(Power& power, CountdownWindow::Kind kind, Power::Done done) {
    PowerNotice::instance().announce();
    switch (kind) {
    case CountdownWindow::Kind::ShutDown:
        power.ShutDownNow(std::move(done));
        break;
    case CountdownWindow::Kind::Restart:
        power.RestartNow(std::move(done));
        break;
    case CountdownWindow::Kind::LogOff:
        power.LogOffNow(std::move(done));
        break;
    }
}

int CountdownWindow::waitSeconds(const QString& setting) {
    int seconds = 0;
    for (const QChar c : QStringView(setting).mid(1)) {
        if (!c.isDigit() || seconds > 86400 * 7)
            break;
        seconds = seconds * 10 + c.digitValue();
    }
    return seconds;
}

CountdownWindow::CountdownWindow(Kind kind, const QString& setting, Power& power,
                                 Power::Done answered, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), power_(power), answered_(std::move(answered)) {
    const Texts texts = textsFor(kind);
    setObjectName(QLatin1String(texts.objectName));
    setWindowTitle(QStringLiteral("Campanor"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    Label3 = new QLabel(this);
    Label1 = new QLabel(texts.label, this);
    Label4 = new QLabel(QStringLiteral("100"), this);
    // The bare count beside the fixed text reads as a second total: say what it is.
    auto* leftCaption = new QLabel(QStringLiteral("剩余秒数："), this);
    leftCaption->setObjectName(QStringLiteral("LeftCaption"));
    leftCaption->setBuddy(Label4);
    Label4->setAccessibleName(QStringLiteral("剩余秒数"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("剩余时间"));
    Command1 = new QPushButton(texts.now, this);
    Command2 = new QPushButton(texts.cancel, this);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{Label1, "Label1"},
                                {Label3, "Label3"},
                                {Label4, "Label4"},
                                {ProgressBar1, "ProgressBar1"},
                                {Command1, "Command1"},
                                {Command2, "Command2"}})
        widget->setObjectName(QLatin1String(name));

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(Label3);
    top->addWidget(Label1);
    top->addStretch(1);
    top->addWidget(leftCaption);
    top->addWidget(Label4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);

    // The window pops up while someone may be typing elsewhere: a stray Space
    // or Enter must cancel, never act at once.
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(true);
    setTabOrder(Command2, Command1);
    Command2->setFocus();

    connect(Command1, &QPushButton::clicked, this, &CountdownWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CountdownWindow::Command2_Click);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &CountdownWindow::Timer1_Timer);
    Form_Load(setting);
}

void CountdownWindow::Form_Load(const QString& setting) {
    left_ = waitSeconds(setting);
    // A bar whose maximum equals its minimum would spin for ever; a wait of
    // 0 acts at the first tick all the same.
    ProgressBar1->setRange(0, qMax(left_, 1));
    ProgressBar1->setValue(left_);
    Label3->setText(QString::number(left_));
    Label4->setText(QString::number(left_));
    Timer1->start();
}

void CountdownWindow::bringForward() {
    show();
    raise();
    activateWindow();
    Command2->setFocus();
}

void CountdownWindow::Timer1_Timer() {
    if (left_ == 0) {
        runRoutine();
        return;
    }
    --left_;
    ProgressBar1->setValue(left_);
    Label4->setText(QString::number(left_));
}

void CountdownWindow::Command1_Click() {
    runRoutine();
}

void CountdownWindow::Command2_Click() {
    close();
}

void CountdownWindow::closeEvent(QCloseEvent* event) {
    if (!acting_) {
        Timer1->stop();
        emit cancelled();
    }
    QWidget::closeEvent(event);
}

void CountdownWindow::runRoutine() {
    if (acting_)
        return;
    acting_ = true;
    Timer1->stop();
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    QPointer<CountdownWindow> self(this);
    runPowerRoutine(power_, kind_, [self, answered = answered_](bool accepted, const QString& why) {
        if (answered)
            answered(accepted, why);
        // Refused: the countdown is over and nothing happened;
        // the window must not go on looking as if it acts.
        if (!accepted && self)
            self->close();
    });
}

} // namespace campanor
