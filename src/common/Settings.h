#pragma once

#include "RecordFile.h"

#include <QString>

namespace campanor {

// The one-value settings files in the program folder, each with one spelling on disk.
namespace file {
inline const QString ResetSystem = QStringLiteral("ResetSystem.txt");
inline const QString AutoRunYesNo = QStringLiteral("AutoRunYesNo.txt");
inline const QString Show = QStringLiteral("show.txt");
inline const QString Shut = QStringLiteral("Shut.txt");
inline const QString Restart = QStringLiteral("Restart.txt");
inline const QString Logoff = QStringLiteral("Logoff.txt");
inline const QString PlayOrder = QStringLiteral("PlayOrder.txt");
inline const QString DefaultDTT = QStringLiteral("DefaultDTT.txt");
inline const QString DefaultPLF = QStringLiteral("DefaultPLF.txt");
inline const QString UserWav = QStringLiteral("UserWav.txt");
inline const QString Radio = QStringLiteral("Radio.txt");
inline const QString SkinFile = QStringLiteral("skin.txt");
inline const QString User = QStringLiteral("User.txt");
inline const QString Calendar = QStringLiteral("Calendar.txt");
inline const QString Emergency = QStringLiteral("Emergency.txt");
inline const QString EmergencyList = QStringLiteral("PlayListFile/EMERGENCY.PLF");
inline const QString RestoreAtStart = QStringLiteral("RestoreAtStart.txt");
inline const QString SoundDevice = QStringLiteral("SoundDevice.txt");

inline const QString DayTimeTable = QStringLiteral("DayTimeTable");
inline const QString PlayListFile = QStringLiteral("PlayListFile");
inline const QString SkinFolder = QStringLiteral("skin");
inline const QString DefaultTable = QStringLiteral("DayTimeTable/Default.DTT");
inline const QString BuiltInRing = QStringLiteral("timeup.mp3");
inline const QString Help = QStringLiteral("vomu.chm");
inline const QString DefaultSkin = QStringLiteral("skin/B-Studio.skn");
} // namespace file

// Reads and writes settings records relative to one program folder.
class Settings {
  public:
    explicit Settings(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }
    QString path(const QString& name) const;

    // A value longer than any path or name can be is refused as unreadable.
    static constexpr qsizetype kMaxValueLength = 4096;

    // Odd or unreadable files are reported on standard error.
    QString read(const QString& name) const { return readChecked(name).value; }
    RecordRead readChecked(const QString& name) const;
    bool writeText(const QString& name, const QString& value) const;
    bool writeNumber(const QString& name, qint64 value) const;

  private:
    QString folder_;
};

} // namespace campanor
