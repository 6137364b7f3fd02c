#include "InternalClock.h"

namespace campanor {

void InternalClock::set(const QTime& systemTime) {
    hour_ = systemTime.hour();
    minute_ = systemTime.minute();
    second_ = systemTime.second();
}

void InternalClock::advance() {
    if (++second_ == 60) {
        second_ = 0;
        if (++minute_ == 60) {
            minute_ = 0;
            if (++hour_ >= 24)
                hour_ -= 24;
        }
    }
}

int InternalClock::pace(const QTime& systemTime, int currentInterval) const {
    const int system = systemTime.minute() * 60 + systemTime.second();
    const int internal = minute_ * 60 + second_;
    if (system > internal)
        return kFastInterval;
    if (system < internal)
        return kSlowInterval;
    return currentInterval;
}

QString InternalClock::text() const {
    return QStringLiteral("%1:%2:%3")
        .arg(hour_, 2, 10, QChar(u'0'))
        .arg(minute_, 2, 10, QChar(u'0'))
        .arg(second_, 2, 10, QChar(u'0'));
}

QString clockCaption(const QTime& systemTime, const QString& internalText) {
    return QStringLiteral("Win32系统时钟>") + systemTime.toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral(" 本软件内部时钟>") + internalText;
}

} // namespace campanor
