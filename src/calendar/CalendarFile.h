#pragma once

#include "Calendar.h"

#include <QString>
#include <QStringList>

namespace campanor {

// Calendar.txt of one program folder, for the schedule and the windows.
class CalendarFile {
  public:
    explicit CalendarFile(const QString& programFolder);

    const QString& path() const { return path_; }

    // Reads the file again. Odd entries are skipped; a file that cannot be
    // read whole is not used at all. Every problem is said on standard error
    // and in the as-run log. True when the calendar read is in use.
    bool load();
    // Replaces the file atomically; refused (false) after a load that could
    // not read the file whole, and for a text the format cannot hold.
    bool save(const Calendar& calendar);

    const Calendar& calendar() const { return calendar_; }
    // Entries to go by: false without the file, with an empty one, or with
    // one that could not be read whole.
    bool inUse() const { return unreadable_.isEmpty() && !calendar_.isEmpty(); }
    bool exists() const { return exists_; }
    // Why the file could not be read whole (it is then neither used nor
    // written), else empty.
    const QString& unreadable() const { return unreadable_; }
    bool writable() const { return unreadable_.isEmpty(); }
    // What the last load or save found wrong, one text each, in Chinese.
    const QStringList& problems() const { return problems_; }
    // The main window's warning: empty when all is well.
    QString warning() const;

  private:
    QString path_;
    Calendar calendar_;
    bool exists_ = false;
    QString unreadable_;
    QStringList problems_;
};

} // namespace campanor
