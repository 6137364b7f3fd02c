#include "RemoteService.h"

#include "common/AsRunLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace campanor {

RemoteService::RemoteService(RemoteHost& host, QObject* parent) : QObject(parent), host_(host) {
    AsRunLog::setInstructionObserver(
        [this](const QDateTime& second, const QString& line, const QString& outcome) {
            emit InstructionCarriedOut(second.toString(Qt::ISODate), line, outcome);
        });
}

RemoteService::~RemoteService() {
    AsRunLog::setInstructionObserver(nullptr);
    if (registered_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(remote::kPath);
        bus.unregisterService(remote::kService);
    }
}

QString RemoteService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QStringLiteral("没有会话总线：") + bus.lastError().message();
    if (!bus.registerObject(remote::kPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals))
        return QStringLiteral("对象无法注册：") + bus.lastError().message();
    if (!bus.registerService(remote::kService)) {
        bus.unregisterObject(remote::kPath);
        return QStringLiteral("服务名无法取得：") + bus.lastError().message();
    }
    registered_ = true;
    return {};
}

void RemoteService::answer(const QString& why) {
    if (!why.isEmpty() && calledFromDBus())
        sendErrorReply(remote::kRefused, why);
}

QVariantMap RemoteService::Status() {
    return host_.remoteStatus();
}

void RemoteService::Run(const QString& action) {
    answer(host_.remoteRun(action));
}

void RemoteService::OpenTable(const QString& path) {
    answer(host_.remoteOpenTable(path));
}

void RemoteService::Emergency(bool on, const QString& playlist) {
    answer(host_.remoteEmergency(on, playlist));
}

} // namespace campanor
