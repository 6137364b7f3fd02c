#pragma once

#include "common/Power.h"

#include <QDBusConnection>
#include <QObject>
#include <optional>

namespace campanor {

// Power actions through systemd-logind on the system bus. Every call is
// asynchronous, so a missing or slow bus never holds up the window; `done`
// hears logind's answer, with its error message when it refused.
class LogindPower : public QObject, public Power {
    Q_OBJECT
  public:
    explicit LogindPower(QObject* parent = nullptr);

    void ShutDownNow(Done done = {}) override;
    void RestartNow(Done done = {}) override;
    void LogOffNow(Done done = {}) override;

  private:
    void callManager(const QString& method, const QVariantList& args, Done done);
    void terminateOwnSessionFromList(Done done, const QString& earlierWhy);
    // Without a system bus `done` hears so on the next turn of the event
    // loop, as it would hear any other answer; true when that is the case.
    bool answerIfNoBus(const Done& done);
    void whenFinished(const QDBusPendingCall& call,
                      std::function<void(const QDBusMessage& reply, bool ok)> next);

    // The system bus, opened at the first request: opening it waits for Qt's
    // D-Bus thread, which at start-up may still be busy with the session bus.
    QDBusConnection& bus();
    std::optional<QDBusConnection> bus_;
};

} // namespace campanor
