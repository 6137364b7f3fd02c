#pragma once

#include "common/RecordFile.h"

#include <QString>
#include <QStringList>

namespace campanor {

// The line as the failure trap marks it ("Error!" before its comment), or
// nothing when it is not a whole instruction or carries the mark already.
QString markedAsFailed(const QString& line);

// A DTT file holds the table text as one quoted record. The format has no
// escape for a quotation mark, so a text holding one is never written.
RecordRead readTableFile(const QString& path);
bool writeTableFile(const QString& path, const QString& tableText);
// Takes an instruction (without its "|") out of a table file that is not loaded.
bool takeOutOfTableFile(const QString& path, const QString& line);

// The loaded instruction table: the whole table text as stored (lines past the
// 300th are kept in it, so that a write never drops them) and its first 300
// lines, sorted.
class InstructionTable {
  public:
    ReadStatus load(const QString& path);
    void clear();

    const QString& tableText() const { return tableText_; }
    const QStringList& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }

    // Replace the file with `tableText`, then load it again.
    bool store(const QString& path, const QString& tableText);
    // Append an instruction that begins with its "|" separator.
    bool commit(const QString& path, const QString& realString);
    // Append an instruction (with its "|") in place of `replaced` (a line
    // of the table, or empty for none), refusing what would leave two
    // instructions of one time and day rule or one past the 300th. The
    // replaced line counts for neither check.
    enum class Change { Stored, Duplicate, Full, NotWritten };
    Change replace(const QString& path, const QString& replaced, const QString& realString);
    // Give a failed instruction's comment the "Error!" prefix, in the file too.
    bool markFailed(const QString& path, const QString& line);

    // False after a load that could not read the file whole (unreadable, or
    // bytes that are not GB18030): writing it would destroy what is stored,
    // so every change is refused until another file is loaded.
    bool writable() const { return writable_; }

  private:
    ReadStatus readIn(const QString& path, bool sayOddLines);
    void reportOddLines(const QString& path) const;

    QString tableText_;
    QStringList lines_;
    QString loadedPath_;
    bool writable_ = true;
};

} // namespace campanor
