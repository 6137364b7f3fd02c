#include "Settings.h"

#include "common/AsRunLog.h"
#include "common/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace campanor {

namespace {

// What the marker holds when it is neither a clean record nor missing: a
// byte-order mark (saved by an editor in UTF-8 or UTF-16), control
// characters, or bytes that are not GB18030. Empty when it is clean.
QString garbledMarker(const QString& path, const RecordRead& read) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(64);
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF") || bytes.startsWith("\x84\x31\x95\x33"))
        return QStringLiteral("以字节顺序标记（BOM）开头");
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return QStringLiteral("含有控制字符");
    }
    if (read.lossy)
        return read.problem;
    return {};
}

} // namespace

bool needsFirstRunReset(const Settings& settings) {
    // A file that is there but cannot be read says nothing either way; a reset
    // would wipe every setting on every start while it stays unreadable.
    const RecordRead read = settings.readChecked(file::ResetSystem);
    if (read.status == ReadStatus::Unreadable)
        return false;
    // Nor does one that is garbled: "1" saved with a byte-order mark by a text
    // editor is not a request to wipe the settings. Only a missing or empty
    // marker, 0, or a plain text that is not a number asks for the reset.
    if (read.status == ReadStatus::Ok) {
        const QString garbled = garbledMarker(settings.path(file::ResetSystem), read);
        if (!garbled.isEmpty()) {
            reportProblem(QStringLiteral("%1 %2，不执行首次运行的重置")
                              .arg(settings.path(file::ResetSystem), garbled));
            return false;
        }
    }
    bool isNumber = false;
    const double value = read.value.trimmed().toDouble(&isNumber);
    return !isNumber || value == 0;
}

namespace {

// A table or playlist that a site put in place before the first start (the
// usual way to set up a second building) holds lines: the reset keeps it.
// Only a missing or empty one is written empty.
bool holdsNothing(const QString& path) {
    const RecordRead read = readRecordFile(path);
    if (read.status == ReadStatus::Missing)
        return true;
    return read.status == ReadStatus::Ok && !read.lossy && read.value.trimmed().isEmpty();
}

} // namespace

void RunFirstRunReset(const Settings& settings, const std::function<void()>& stopAutoStart) {
    if (stopAutoStart)
        stopAutoStart();
    // The folders ship with the program; recreate them so that their files can be written.
    QDir(settings.folder()).mkpath(file::DayTimeTable);
    QDir(settings.folder()).mkpath(file::PlayListFile);

    const QString on60 = QStringLiteral("开60");
    settings.writeText(file::Show, QStringLiteral("show"));
    settings.writeText(file::Shut, on60);
    settings.writeText(file::Restart, on60);
    settings.writeText(file::Logoff, on60);
    settings.writeText(file::PlayOrder, QStringLiteral("1"));
    if (holdsNothing(settings.path(file::DefaultTable)))
        settings.writeText(file::DefaultTable, QString());
    else
        AsRunLog::write(QStringLiteral("首次运行重置：保留指令表 ") +
                        settings.path(file::DefaultTable));
    for (const char* list : {"Default", "TEMPFRONT", "TEMPBACK"}) {
        const QString base = file::PlayListFile + u'/' + QLatin1String(list);
        const QString plf = base + QStringLiteral(".PLF");
        const QString plfr = base + QStringLiteral(".PLFR");
        if (holdsNothing(settings.path(plf))) {
            settings.writeText(plf, QString());
            settings.writeNumber(plfr, 0);
            continue;
        }
        // A kept list keeps where memory play stopped in it, too.
        AsRunLog::write(QStringLiteral("首次运行重置：保留曲目表 ") + settings.path(plf));
        if (!QFileInfo::exists(settings.path(plfr)))
            settings.writeNumber(plfr, 0);
    }
    settings.writeNumber(file::ResetSystem, 1);
    settings.writeText(file::DefaultDTT, QStringLiteral("Reset_System_OK"));
    settings.writeText(file::DefaultPLF, QStringLiteral("Reset_System_OK"));
    settings.writeText(file::UserWav, settings.path(file::BuiltInRing));
    settings.writeNumber(file::Radio, 1);
    settings.writeText(file::SkinFile, settings.path(file::DefaultSkin));
}

} // namespace campanor
