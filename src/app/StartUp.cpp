#include "StartUp.h"
#include "QtTranslations.h"
#include "Version.h"

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QIcon>
#include <QPointer>
#include <QThreadPool>
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

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationVersion(versionText());
    QGuiApplication::setDesktopFileName(QStringLiteral("campanor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/campanor.png")));
    installQtTranslations(app);

    // On a desktop, Qt's accessibility bridge opens the session bus when the
    // first control is made and waits for it: 10-15 ms on the way to the
    // first frame, more where the bus must first be started. Opened here on
    // another thread, it is ready (or nearly) by then; the bridge then shares
    // the connection. The global pool is waited for when the program ends.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        QThreadPool::globalInstance()->start([] { QDBusConnection::sessionBus(); });
}

void afterFirstPaint(QWidget* window, std::function<void()> work, int fallbackMs) {
    new FirstPaintWatch(window, std::move(work), fallbackMs);
}

} // namespace campanor
