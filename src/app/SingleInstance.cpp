#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <unistd.h>

namespace campanor {

namespace {
const QByteArray kRaise = "raise\n";
}

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("raise"))
                    emit raiseRequested();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString SingleInstance::runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString SingleInstance::socketPath() {
    return runtimeFolder() + QStringLiteral("/campanor-%1.socket").arg(getuid());
}

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(runtimeFolder() +
                                        QStringLiteral("/campanor-%1.lock").arg(getuid()));
    // A lock left by a process that no longer runs is taken over.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0))
        return false;
    QLocalServer::removeServer(socketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath());
    return true;
}

bool SingleInstance::askRunningToRaise(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaise);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

} // namespace campanor
