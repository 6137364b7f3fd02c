#pragma once

#include <QObject>

namespace campanor {

// Announced just before the computer is shut down, restarted or logged off,
// so that whatever holds unsaved counts writes them while it still can.
class PowerNotice : public QObject {
    Q_OBJECT
  public:
    static PowerNotice& instance();
    void announce() { emit aboutToAct(); }

  signals:
    void aboutToAct();
};

} // namespace campanor
