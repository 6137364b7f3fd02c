#pragma once

#include <QString>

namespace campanor {

// The folder that holds the program's files: CAMPANOR_HOME when set,
// otherwise defaultProgramFolder() of the running executable. Every file of
// the system lives in or under it.
QString programFolder();

// The folder an executable uses without CAMPANOR_HOME: its own folder, or,
// when that cannot be written (an installed package), the per-user program
// folder.
QString defaultProgramFolder(const QString& executablePath);

// $XDG_DATA_HOME/Campanor, ~/.local/share/Campanor when XDG_DATA_HOME is unset.
QString userProgramFolder();

// Copies the shipped files of the installed folder into a per-user program
// folder: every file that is missing there, and the files the program only
// reads (the ring, the help, the skins) when the installed copy differs. The
// program file itself and whatever the user wrote stay as they are. False
// when the folder could not be made complete.
bool seedProgramFolder(const QString& installedFolder, const QString& userFolder,
                       const QString& programFileName);

// programFolder(), made ready: a per-user folder is seeded first. When it
// cannot be, the installed folder serves (read-only) and the problem is reported.
QString prepareProgramFolder();

// folder + "/" + name, collapsing a doubled separator at a root.
QString joinPath(const QString& folder, const QString& name);

// Linux paths keep their case; where the system compares paths it ignores case.
bool samePathIgnoringCase(const QString& a, const QString& b);

} // namespace campanor
