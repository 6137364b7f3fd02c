#pragma once

#include "common/Power.h"

#include <QDBusConnection>
#include <QObject>

namespace campanor {

// Power actions through systemd-logind on the system bus. Every call is
// asynchronous, so a missing or slow bus never holds up the window.
class LogindPower : public QObject, public Power {
    Q_OBJECT
  public:
    explicit LogindPower(QObject* parent = nullptr);

    void ShutDownNow(Done done = {}) override;
    void RestartNow(Done done = {}) override;
    void LogOffNow(Done done = {}) override;

  private:
    void callManager(const QString& method, const QVariantList& args, Done done);
    void terminateOwnSessionFromList(Done done);
    void whenFinished(const QDBusPendingCall& call,
                      std::function<void(const QDBusMessage& reply, bool ok)> next);

    QDBusConnection bus_;
};

} // namespace campanor
