#include "ClockHealth.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace campanor {

namespace {
const QString kTimedated = QStringLiteral("org.freedesktop.timedate1");
const QString kTimedatedPath = QStringLiteral("/org/freedesktop/timedate1");
constexpr int kCallTimeout = 10000;
} // namespace

ClockHealth::ClockHealth(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    connect(&timer_, &QTimer::timeout, this, &ClockHealth::check);
}

ClockHealth::ClockHealth(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &ClockHealth::check);
}

void ClockHealth::start(int intervalMs) {
    timer_.start(intervalMs);
    check();
}

void ClockHealth::check() {
    if (asking_)
        return;
    if (!bus_)
        bus_ = QDBusConnection::systemBus();
    if (!bus_->isConnected()) {
        setState(State::NoService);
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kTimedated, kTimedatedPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setArguments({kTimedated, QStringLiteral("NTPSynchronized")});
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(get, kCallTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                asking_ = false;
                const QDBusPendingReply<QDBusVariant> reply = *call;
                call->deleteLater();
                // No timedated (or no bus, or a refusal): nobody vouches for the clock.
                if (reply.isError()) {
                    setState(State::NoService);
                    return;
                }
                const QVariant value = reply.value().variant();
                if (value.typeId() != QMetaType::Bool) {
                    setState(State::NoService);
                    return;
                }
                setState(value.toBool() ? State::Synchronized : State::NotSynchronized);
            });
}

void ClockHealth::setState(State state) {
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

QString clockHealthText(ClockHealth::State state) {
    switch (state) {
    case ClockHealth::State::Synchronized:
        return QStringLiteral("系统时钟已与网络时间同步");
    case ClockHealth::State::NotSynchronized:
        return QStringLiteral("警告：系统时钟没有与网络时间同步，指令可能不准时");
    case ClockHealth::State::NoService:
        return QStringLiteral("警告：无法得知系统时钟是否同步（找不到 timedated 服务）");
    case ClockHealth::State::Unknown:
        break;
    }
    return {};
}

QString clockHealthLogText(ClockHealth::State state) {
    switch (state) {
    case ClockHealth::State::Synchronized:
        return QStringLiteral("已同步（timedated NTPSynchronized）");
    case ClockHealth::State::NotSynchronized:
        return QStringLiteral("没有同步（timedated NTPSynchronized 为 false）");
    case ClockHealth::State::NoService:
        return QStringLiteral("未知：无法询问 timedated");
    case ClockHealth::State::Unknown:
        break;
    }
    return QStringLiteral("尚未询问");
}

bool clockHealthIsWarning(ClockHealth::State state) {
    return state == ClockHealth::State::NotSynchronized || state == ClockHealth::State::NoService;
}

} // namespace campanor
