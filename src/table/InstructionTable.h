#pragma once

#include "common/RecordFile.h"

#include <QString>
#include <QStringList>

namespace campanor {

// A DTT file holds the table text as one quoted record. The format has no
// escape for a quotation mark, so a text holding one is never written.
RecordRead readTableFile(const QString& path);
bool writeTableFile(const QString& path, const QString& tableText);
// Puts an instruction (with its "|") at the end of a table file that is not
// loaded, replacing any copy of it there.
bool putBackInTableFile(const QString& path, const QString& realString);
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
    // Leaves a line out of the loaded table without touching the file.
    void withhold(const QString& line);
    // Append an instruction that begins with its "|" separator.
    bool commit(const QString& path, const QString& realString);
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
