#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/LogWords.h"
#include "common/ProgramFolder.h"
#include "scheduler/DayRestore.h"
#include "scheduler/Matching.h"
#include "table/InstructionTable.h"
#include "table/TableText.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace campanor {

namespace {

const QString kSecond = QStringLiteral("HH:mm:ss");
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

QString stepText(const DayRestore::Step& step) {
    return step.second.toString(kSecond) + u' ' + step.line;
}

// The last sign of life today before this run: every instruction the tick
// carried out is in the log, so what fell due after it was not run.
QTime lastSignOfLife(const QDate& day) {
    QFile file(AsRunLog::fileFor(day));
    if (!file.open(QIODevice::ReadOnly))
        return QTime(0, 0, 0);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    qsizetype started = lines.size();
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines[i].contains(u' ' + logword::programStarted() + logword::kColon)) {
            started = i;
            break;
        }
    }
    for (qsizetype i = started - 1; i >= 0; --i) {
        const QTime stamp = QTime::fromString(lines[i].left(8), kSecond);
        if (stamp.isValid())
            return stamp.addSecs(1) > stamp ? stamp.addSecs(1) : stamp;
    }
    return QTime(0, 0, 0);
}

} // namespace

void Formall::buildMissedLine(QVBoxLayout* layout, QWidget* parent) {
    MissedButton = new QPushButton(parent);
    MissedButton->setObjectName(QStringLiteral("MissedButton"));
    MissedButton->setAccessibleName(QStringLiteral("错过的指令"));
    MissedButton->setFlat(true);
    MissedButton->hide();
    connect(MissedButton, &QPushButton::clicked, this, &Formall::MenuAsRunLog_Click);
    layout->addWidget(MissedButton);
}

void Formall::MenuRestoreAtStart_Click() {
    // The item has toggled itself already.
    const bool on = MenuRestoreAtStart->isChecked();
    if (!settings_.writeText(file::RestoreAtStart,
                             on ? QStringLiteral("YES") : QStringLiteral("NO")))
        reportProblem(QStringLiteral("恢复：RestoreAtStart.txt 无法写入"));
}

void Formall::restoreAtStartUp() {
    tick_.setResyncHandler([this](const QDateTime& left) {
        // After the tick: the restore runs actions, the tick is not theirs.
        QTimer::singleShot(0, this, [this, left] {
            restoreDay(QStringLiteral("时钟跳变"),
                       left.date() == clock_.date() ? left.time().addSecs(1) : QTime(0, 0, 0));
        });
    });
    QDBusConnection::systemBus().connect(kLogind, kLogindPath, kManager,
                                         QStringLiteral("PrepareForSleep"), this,
                                         SLOT(PrepareForSleep(bool)));
    holdSleep();
    restoreDay(QStringLiteral("程序启动"), lastSignOfLife(clock_.date()), startSecond_);
}

void Formall::holdSleep() {
    // A delay lock: the computer waits (a few seconds at most) until the
    // signal before the sleep has been seen, so that the first tick after
    // waking does not run the slept seconds one by one.
    QDBusMessage call =
        QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Campanor")
         << QStringLiteral("记下睡眠前的时刻，醒来后恢复播音状态") << QStringLiteral("delay");
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        if (!reply.isError())
            sleepLock_ = reply.value();
        w->deleteLater();
    });
}

void Formall::PrepareForSleep(bool sleeping) {
    if (sleeping) {
        // Nothing of the sleep is run when the computer wakes: it is picked up instead.
        asleepSince_ = clock_.second();
        Timer1->stop();
        AsRunLog::write(QStringLiteral("进入睡眠：") + clock_.second().toString(kSecond));
        sleepLock_ = QDBusUnixFileDescriptor();
        return;
    }
    holdSleep();
    const QDateTime left = asleepSince_.value_or(clock_.second());
    asleepSince_.reset();
    tick_.start();
    AsRunLog::write(QStringLiteral("从睡眠中唤醒：") + clock_.second().toString(kSecond));
    restoreDay(QStringLiteral("唤醒"),
               left.date() == clock_.date() ? left.time().addSecs(1) : QTime(0, 0, 0));
    Timer1->start(tick_.msUntilNextSecond());
}

void Formall::restoreDay(const QString& occasion, const QTime& missedFrom,
                         std::optional<QTime> tookOver, bool suspended) {
    const QDateTime now = clock_.second();
    // What the tick carried out after it took over is in effect already.
    const QTime runFrom = tookOver.value_or(now.time());
    auto ranAlready = [&](const DayRestore::Step& step) { return step.second > runFrom; };
    const QDate day = now.date();
    const QString dayTablePath = dayTable ? dayTable(day) : DefaultTablePath;
    const DayRestore restore(
        [](const QString& path) { return splitTableText(readTableFile(path).value); },
        [day](const QString& rule) { return dayRuleApplies(rule, day); });
    const DayRestore::State state = restore.stateAt(dayTablePath, now.time());

    int missed = 0;
    bool tableOpenedMeanwhile = false;
    for (const DayRestore::Step& step : state.steps) {
        if (step.second < missedFrom || ranAlready(step))
            continue;
        tableOpenedMeanwhile |= step.action.kind == ActionKind::OpenTable;
        if (suspended)
            continue;
        AsRunLog::write(logword::missed() + logword::kColon + stepText(step));
        ++missed;
    }
    if (missed > 0) {
        missedCount_ += missed;
        MissedButton->setText(
            QStringLiteral("今天有 %1 条指令在程序没有运行时到时，没有执行（点击查看运行记录）")
                .arg(missedCount_));
        MissedButton->show();
    }
    if (emergency_.on()) {
        // The end of the emergency puts back what the plan has in effect then.
        AsRunLog::write(QStringLiteral("%1后恢复播音状态：等紧急广播结束后再恢复").arg(occasion));
        return;
    }
    if (!MenuRestoreAtStart->isChecked()) {
        AsRunLog::write(QStringLiteral("%1后恢复播音状态：功能已关闭").arg(occasion));
        return;
    }
    AsRunLog::write(QStringLiteral("%1后恢复播音状态：%2").arg(occasion, now.toString(kSecond)));

    auto run = [this](const QString& what, const DayRestore::Step& step) {
        try {
            dispatcher_.run(step.action, step.line);
            AsRunLog::write(QStringLiteral("已恢复%1：%2").arg(what, stepText(step)));
            return true;
        } catch (const std::exception& e) {
            reportProblem(QStringLiteral("恢复%1失败：%2（%3）")
                              .arg(what, QString::fromUtf8(e.what()), stepText(step)));
            return false;
        }
    };
    if (!samePathIgnoringCase(state.table, CurrentTablePath) &&
        (!suspended || tableOpenedMeanwhile)) {
        OpenTableByInstruction(state.table);
        AsRunLog::write(QStringLiteral("已恢复指令表：") + state.table);
    }
    if (state.lineIn && !ranAlready(*state.lineIn))
        run(QStringLiteral("线路输入"), *state.lineIn);
    if (state.microphone && !ranAlready(*state.microphone))
        run(QStringLiteral("麦克风"), *state.microphone);

    if (!state.back) {
        // Closed while the program was away.
        if (FromPlayer && !state.steps.isEmpty() && state.steps.last().second >= missedFrom)
            for (const DayRestore::Step& step : state.steps)
                if (step.action.kind == ActionKind::CloseBackPlayer && step.second >= missedFrom)
                    return void(run(QStringLiteral("后置播音器（关闭）"), step));
        return;
    }
    const DayRestore::Step& back = *state.back;
    // A list that was started before the sleep plays on as it is.
    if (ranAlready(back) || (FromPlayer && back.second < missedFrom))
        return;
    if (back.action.kind != ActionKind::StartBackStatic) {
        // Memory play goes on from its stored position; a dynamic list and a
        // folder start afresh (a folder's outcome is logged when it has been read).
        run(QStringLiteral("后置播音器"), back);
        return;
    }
    if (!run(QStringLiteral("后置播音器"), back) || !FromPlayer)
        return;
    const ListPosition::Loop loop = FromPlayer->Option2->isChecked() ? ListPosition::Loop::OneTrack
                                    : FromPlayer->Option3->isChecked()
                                        ? ListPosition::Loop::WholeList
                                        : ListPosition::Loop::ToEnd;
    const double elapsed = back.second.msecsTo(now.time()) / 1000.0;
    const ListPosition at = ListPosition::after(FromPlayer->trackLengths(), elapsed, loop);
    if (at.ended) {
        CloseBackPlayer();
        AsRunLog::write(QStringLiteral("恢复：后置播音的曲目表此时已经播完，不再播放（%1）")
                            .arg(stepText(back)));
        return;
    }
    FromPlayer->playFrom(at.track, at.seconds);
    AsRunLog::write(QStringLiteral("恢复：后置播音从第 %1 首的第 %2 秒继续")
                        .arg(at.track + 1)
                        .arg(at.seconds, 0, 'f', 1));
}

} // namespace campanor
