#include "LogindPower.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QTimer>
#include <unistd.h>

namespace campanor {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

// A bus that does not answer at all must not keep `done` waiting for ever.
constexpr int kCallTimeoutMs = 5000;

void finish(const Power::Done& done, bool accepted, const QString& why = {}) {
    if (done)
        done(accepted, why);
}

// What logind (or the bus on its behalf) said when it did not take a call.
QString reasonOf(const QDBusMessage& reply) {
    const QString message = reply.errorMessage();
    return message.isEmpty() ? reply.errorName() : message;
}

} // namespace

LogindPower::LogindPower(QObject* parent) : QObject(parent) {}

QDBusConnection& LogindPower::bus() {
    if (!bus_)
        bus_ = QDBusConnection::systemBus();
    return *bus_;
}

void LogindPower::whenFinished(const QDBusPendingCall& call,
                               std::function<void(const QDBusMessage&, bool)> next) {
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, next = std::move(next)] {
        const QDBusMessage reply = watcher->reply();
        watcher->deleteLater();
        next(reply, !watcher->isError());
    });
}

bool LogindPower::answerIfNoBus(const Done& done) {
    if (bus().isConnected())
        return false;
    const QString detail = bus().lastError().message();
    const QString why = detail.isEmpty() ? QStringLiteral("没有系统总线")
                                         : QStringLiteral("没有系统总线：") + detail;
    QTimer::singleShot(0, this, [done, why] { finish(done, false, why); });
    return true;
}

void LogindPower::callManager(const QString& method, const QVariantList& args, Done done) {
    if (answerIfNoBus(done))
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(kLogind, kManagerPath, kManager, method);
    message.setArguments(args);
    whenFinished(bus().asyncCall(message, kCallTimeoutMs),
                 [done](const QDBusMessage& reply, bool ok) {
                     finish(done, ok, ok ? QString() : reasonOf(reply));
                 });
}

void LogindPower::ShutDownNow(Done done) {
    callManager(QStringLiteral("PowerOff"), {false}, std::move(done));
}

void LogindPower::RestartNow(Done done) {
    callManager(QStringLiteral("Reboot"), {false}, std::move(done));
}

void LogindPower::LogOffNow(Done done) {
    const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
    if (!sessionId.isEmpty()) {
        callManager(QStringLiteral("TerminateSession"), {sessionId}, std::move(done));
        return;
    }
    if (answerIfNoBus(done))
        return;
    QDBusMessage get = QDBusMessage::createMethodCall(kLogind, kManagerPath, kManager,
                                                      QStringLiteral("GetSession"));
    get.setArguments({QStringLiteral("auto")});
    whenFinished(bus().asyncCall(get, kCallTimeoutMs), [this, done](const QDBusMessage& reply,
                                                                    bool ok) {
        const QDBusObjectPath path = ok && !reply.arguments().isEmpty()
                                         ? qvariant_cast<QDBusObjectPath>(reply.arguments().first())
                                         : QDBusObjectPath();
        if (path.path().isEmpty()) {
            terminateOwnSessionFromList(done, ok ? QString() : reasonOf(reply));
            return;
        }
        const QDBusMessage terminate = QDBusMessage::createMethodCall(
            kLogind, path.path(), kSession, QStringLiteral("Terminate"));
        whenFinished(bus().asyncCall(terminate, kCallTimeoutMs),
                     [this, done](const QDBusMessage& answer, bool terminated) {
                         if (terminated)
                             finish(done, true);
                         else
                             terminateOwnSessionFromList(done, reasonOf(answer));
                     });
    });
}

void LogindPower::terminateOwnSessionFromList(Done done, const QString& earlierWhy) {
    const QDBusMessage list = QDBusMessage::createMethodCall(kLogind, kManagerPath, kManager,
                                                             QStringLiteral("ListSessions"));
    whenFinished(bus().asyncCall(list, kCallTimeoutMs),
                 [this, done, earlierWhy](const QDBusMessage& reply, bool ok) {
                     QString own;
                     if (ok && !reply.arguments().isEmpty()) {
                         // a(susso): id, uid, user name, seat, object path
                         const QDBusArgument sessions =
                             reply.arguments().first().value<QDBusArgument>();
                         sessions.beginArray();
                         while (!sessions.atEnd() && own.isEmpty()) {
                             QString id, user, seat;
                             uint uid = 0;
                             QDBusObjectPath path;
                             sessions.beginStructure();
                             sessions >> id >> uid >> user >> seat >> path;
                             sessions.endStructure();
                             if (uid == getuid())
                                 own = id;
                         }
                         sessions.endArray();
                     }
                     if (own.isEmpty()) {
                         // The first refusal says most about why; a list without our
                         // session only says that none was found.
                         QString why = earlierWhy;
                         if (why.isEmpty())
                             why = ok ? QStringLiteral("找不到这个用户的会话") : reasonOf(reply);
                         finish(done, false, why);
                     } else {
                         callManager(QStringLiteral("TerminateSession"), {own}, done);
                     }
                 });
}

} // namespace campanor
