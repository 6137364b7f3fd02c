#include "SoundDevice.h"

#include "AsRunLog.h"

namespace campanor {

namespace {

bool recordKeeps(const QString& text) {
    return !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n');
}

} // namespace

SoundDevice readSoundDevice(const Settings& settings) {
    const RecordRead read = settings.readChecked(file::SoundDevice);
    if (read.status == ReadStatus::Unreadable || read.lossy) {
        reportProblem(QStringLiteral("声音设备：%1 无法读取（%2），使用默认输出和第一块声卡")
                          .arg(settings.path(file::SoundDevice), read.problem));
        return {};
    }
    // A sink description never holds "|", a control device's name neither:
    // the last one divides them, and a record without one names the output alone.
    const QString value = read.value.trimmed();
    const qsizetype bar = value.lastIndexOf(u'|');
    if (bar < 0)
        return {value, {}};
    return {value.left(bar).trimmed(), value.mid(bar + 1).trimmed()};
}

bool writeSoundDevice(const Settings& settings, const SoundDevice& choice) {
    if (!recordKeeps(choice.output) || !recordKeeps(choice.mixer) || choice.mixer.contains(u'|'))
        return false;
    return settings.writeText(file::SoundDevice, choice.output + u'|' + choice.mixer);
}

} // namespace campanor
