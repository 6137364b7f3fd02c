#include "Settings.h"

#include "common/ProgramFolder.h"

#include <QDir>

namespace campanor {

bool needsFirstRunReset(const Settings& settings) {
    // A file that is there but cannot be read says nothing either way; a reset
    // would empty the default table on every start while it stays unreadable.
    const RecordRead read = settings.readChecked(file::ResetSystem);
    if (read.status == ReadStatus::Unreadable)
        return false;
    bool isNumber = false;
    const double value = read.value.trimmed().toDouble(&isNumber);
    return !isNumber || value == 0;
}

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
    settings.writeText(file::DefaultTable, QString());
    for (const char* list : {"Default", "TEMPFRONT", "TEMPBACK"}) {
        const QString base = file::PlayListFile + u'/' + QLatin1String(list);
        settings.writeText(base + QStringLiteral(".PLF"), QString());
        settings.writeNumber(base + QStringLiteral(".PLFR"), 0);
    }
    settings.writeNumber(file::ResetSystem, 1);
    settings.writeText(file::DefaultDTT, QStringLiteral("Reset_System_OK"));
    settings.writeText(file::DefaultPLF, QStringLiteral("Reset_System_OK"));
    settings.writeText(file::UserWav, settings.path(file::BuiltInRing));
    settings.writeNumber(file::Radio, 1);
    settings.writeText(file::SkinFile, settings.path(file::DefaultSkin));
}

} // namespace campanor
