#pragma once

#include <QString>
#include <QStringList>

namespace campanor {

// Start with the system: an XDG autostart entry named Clock.desktop. The
// entry names the program and its program folder, so that the folder in use
// now is the one used at the next boot. Where a systemd user instance runs,
// the entry starts a user unit instead, which names them, so that a program
// that hangs is ended by the unit's watchdog and started again.
class AutoStart {
  public:
    virtual ~AutoStart() = default;
    virtual bool enable(const QString& programPath, const QString& programFolder) = 0;
    // Removes the entry only when it starts this program on this folder: the
    // name Clock.desktop is not ours alone.
    virtual bool disable(const QString& programPath, const QString& programFolder) = 0;
};

class XdgAutoStart : public AutoStart {
  public:
    bool enable(const QString& programPath, const QString& programFolder) override;
    bool disable(const QString& programPath, const QString& programFolder) override;
    static QString entryPath();

    // The Exec value that starts the program on the folder.
    static QString execValue(const QString& programPath, const QString& programFolder);
    // The arguments of an Exec value, unquoted; empty when it cannot be read.
    static QStringList execArguments(const QString& value);
    // Whether a desktop entry's text starts this program on this folder.
    static bool startsProgram(const QString& entryText, const QString& programPath,
                              const QString& programFolder);

    // The user unit: $XDG_CONFIG_HOME/systemd/user/campanor.service.
    static QString unitPath();
    static QString unitText(const QString& programPath, const QString& programFolder);
    // A systemd user instance runs for this user (its private socket is there).
    static bool userManagerRuns();
    // The Exec value of an entry that starts the unit.
    static QString unitExecValue();
};

} // namespace campanor
