#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <optional>

namespace campanor {

// Whether the system clock is kept synchronised, as systemd-timedated reports
// it (NTPSynchronized). Instructions act on the system clock's seconds, so an
// operator needs to see when nothing keeps that clock right. Every question is
// asynchronous: a slow or missing bus never holds up a tick.
class ClockHealth : public QObject {
    Q_OBJECT
  public:
    enum class State { Unknown, Synchronized, NotSynchronized, NoService };
    Q_ENUM(State)

    static constexpr int kCheckInterval = 60000;

    explicit ClockHealth(QDBusConnection bus, QObject* parent = nullptr);
    // On the system bus, opened at the first question: opening it waits for
    // Qt's D-Bus thread, which at start-up may still be busy with the session bus.
    explicit ClockHealth(QObject* parent = nullptr);

    // Asks now and then every `intervalMs`: timedated does not announce
    // changes of NTPSynchronized.
    void start(int intervalMs = kCheckInterval);
    // One question; a question still unanswered is not asked twice.
    void check();

    State state() const { return state_; }

  signals:
    void stateChanged(campanor::ClockHealth::State state);

  private:
    void setState(State state);

    std::optional<QDBusConnection> bus_;
    QTimer timer_;
    State state_ = State::Unknown;
    bool asking_ = false;
};

// The operator's line for a state; empty while the first answer is awaited.
QString clockHealthText(ClockHealth::State state);
bool clockHealthIsWarning(ClockHealth::State state);
// The same for the as-run log.
QString clockHealthLogText(ClockHealth::State state);

} // namespace campanor
