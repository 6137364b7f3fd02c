#pragma once

#include <QString>

namespace campanor {

// The folder that holds the program's files: CAMPANOR_HOME when set,
// otherwise defaultProgramFolder() of the running executable. Every file of
// the system lives in or under it.
QString programFolder();

// The folder an executable uses without CAMPANOR_HOME: its own folder, or
// the per-user program folder when its own is an installed package's or
// cannot be written. Who runs it does not matter: root too gets a folder of
// its own.
QString defaultProgramFolder(const QString& executablePath);

// The file the package puts beside the program.
inline const QString kPackageMarker = QStringLiteral(".installed-by-package");

// A folder the package manager owns, which the program never writes: one
// that holds the package's marker, or one under /opt or /usr, where nothing
// but a package manager installs.
bool isInstalledPackageFolder(const QString& folder);

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

// The folder of a full path when that folder does not exist (a drive or a
// share not mounted yet): the file may well come back. Empty when the folder
// is there, or when the path is not a full path.
QString absentFolderOf(const QString& path);

// Linux paths keep their case; where the system compares paths it ignores case.
bool samePathIgnoringCase(const QString& a, const QString& b);

} // namespace campanor
