#include "EmergencyMode.h"

#include "common/AsRunLog.h"
#include "common/RecordFile.h"

namespace campanor {

namespace {
const QString kOn = QStringLiteral("on");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

void EmergencyMode::load() {
    // "on", the start and the list, one to a line.
    const QStringList parts = readRecordFile(file_).value.split(u'\n');
    on_ = parts.value(0).trimmed() == kOn;
    since_ = on_ ? QDateTime::fromString(parts.value(1).trimmed(), kTimeFormat) : QDateTime();
    playlist_ = on_ ? parts.value(2).trimmed() : QString();
    if (on_)
        AsRunLog::write(QStringLiteral("紧急广播在程序启动后仍在进行（自 %1 起，曲目表 %2）")
                            .arg(since_.toString(kTimeFormat), playlist_));
}

bool EmergencyMode::start(const QString& playlist, const QDateTime& now) {
    if (on_)
        return false;
    on_ = true;
    since_ = now;
    playlist_ = playlist;
    store();
    AsRunLog::write(
        QStringLiteral("紧急广播开始：%1，曲目表 %2").arg(since_.toString(kTimeFormat), playlist_));
    return true;
}

bool EmergencyMode::end(const QDateTime& now) {
    if (!on_)
        return false;
    AsRunLog::write(QStringLiteral("紧急广播结束：%1（开始于 %2）")
                        .arg(now.toString(kTimeFormat), since_.toString(kTimeFormat)));
    on_ = false;
    since_ = QDateTime();
    playlist_.clear();
    store();
    return true;
}

void EmergencyMode::store() {
    const QString text = on_ ? QStringList{kOn, since_.toString(kTimeFormat), playlist_}.join(u'\n')
                             : QStringLiteral("off");
    stored_ = writeTextRecord(file_, text);
    if (!stored_)
        reportProblem(QStringLiteral("紧急广播状态无法保存：") + file_);
}

} // namespace campanor
