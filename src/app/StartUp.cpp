#include "StartUp.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace campanor {

namespace {

// Watches for the window's first paint; the work then waits for a zero timer,
// which fires only once the whole frame has been painted and flushed.
class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QWidget* window, std::function<void()> work, int fallbackMs)
        : QObject(window), work_(std::move(work)) {
        window->installEventFilter(this);
        QTimer::singleShot(fallbackMs, this, [this] { run(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { run(); });
        }
        return false;
    }

  private:
    void run() {
        if (!work_)
            return;
        const auto work = std::move(work_);
        work_ = nullptr;
        deleteLater();
        work();
    }

    std::function<void()> work_;
    bool painted_ = false;
};

} // namespace

void afterFirstPaint(QWidget* window, std::function<void()> work, int fallbackMs) {
    new FirstPaintWatch(window, std::move(work), fallbackMs);
}

} // namespace campanor
