#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace campanor {

// One running Campanor per user: a lock file and a local socket in the
// user's runtime folder. A second start asks the first to raise its window.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);

    // True when this is the only instance; it then listens for raise requests.
    bool acquire();
    // From a second instance: ask the running one to come to the front.
    bool askRunningToRaise(int timeoutMs = 2000);

    static QString runtimeFolder();
    static QString socketPath();

  signals:
    void raiseRequested();

  private:
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace campanor
