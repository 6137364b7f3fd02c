#include "InternalClock.h"

namespace campanor {

QDateTime wallTime(const QDateTime& local) {
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

void InternalClock::set(const QDateTime& wallNow) {
    const QTime t = wallNow.time();
    second_ = QDateTime(wallNow.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

void InternalClock::advance() {
    second_ = second_.addSecs(1);
}

qint64 InternalClock::lagSeconds(const QDateTime& wallNow) const {
    InternalClock system;
    system.set(wallNow);
    return second_.secsTo(system.second_);
}

QString InternalClock::text() const {
    return second_.time().toString(QStringLiteral("HH:mm:ss"));
}

QString clockCaption(const QTime& systemTime, const QString& internalText) {
    return QStringLiteral("Win32系统时钟>") + systemTime.toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral(" 本软件内部时钟>") + internalText;
}

} // namespace campanor
