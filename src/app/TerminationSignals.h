#pragma once

#include <QObject>

class QSocketNotifier;

namespace campanor {

// SIGTERM, SIGHUP and SIGINT (the system shutting down, the session ending,
// Ctrl+C) end the event loop in an orderly way, so that the program's end is
// logged like any other. The handler only writes to a pipe; the rest runs on
// the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool installed() const { return notifier_ != nullptr; }

  signals:
    // The signal's name, e.g. "SIGTERM".
    void received(const QString& name);

  private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace campanor
