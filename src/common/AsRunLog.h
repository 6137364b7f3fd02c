#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace campanor {

// The as-run log: what the schedule did and what went wrong, one UTF-8 file a
// day (Log/YYYY-MM-DD.log under the program folder), so an operator can read
// later why a bell did not ring. Writes are appends of one line and never
// throw; a failed write is said once on standard error and the schedule goes on.
class AsRunLog {
  public:
    static constexpr int kKeepDays = 90;

    // Starts logging into programFolder/Log and removes day files older than
    // kKeepDays. Before open() (and after close()) lines go nowhere.
    static void open(const QString& programFolder);
    static void close();

    // The folder of the day files; empty while closed.
    static QString folder();
    // The day file for a date, whether or not it exists.
    static QString fileFor(const QDate& day);
    // The same for any program folder, open or not (the log window reads them).
    static QString folderIn(const QString& programFolder);
    static QString fileIn(const QString& logFolder, const QDate& day);

    // One line stamped with the system time in milliseconds.
    static void write(const QString& text);

    // An instruction the tick handed over: the second it belongs to (the
    // internal clock's date and time), when it started on the system clock,
    // the line itself and the outcome (a word of LogWords.h: 完成, 失败：why, ...).
    static void instruction(const QDateTime& second, const QDateTime& started, const QString& line,
                            const QString& outcome);

    // Told of each instruction entry after it is written (one observer).
    using InstructionObserver =
        std::function<void(const QDateTime& second, const QString& line, const QString& outcome)>;
    static void setInstructionObserver(InstructionObserver observer);
};

// Standard error and the as-run log, for everything an operator may need to
// know later: refused input, unplayable tracks, failed actions.
void reportProblem(const QString& text);

} // namespace campanor
