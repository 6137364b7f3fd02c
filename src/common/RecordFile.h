#pragma once

#include <QByteArray>
#include <QString>

namespace campanor {

// Every small file of the system holds one record: a quoted text or a bare
// number, then CR LF, in GB18030.
enum class ReadStatus { Ok, Missing, Unreadable };

struct RecordRead {
    QString value;
    ReadStatus status = ReadStatus::Missing;
    // Bytes that are not GB18030 were read as U+FFFD: writing the value back
    // would destroy them, so such a file is only ever read.
    bool lossy = false;
    // What was odd about a file that opened (undecodable bytes, no closing
    // quotation mark) or why it could not be read; empty when all was well.
    QString problem;
};

QByteArray encodeLocal(const QString& text);
QString decodeLocal(const QByteArray& bytes);

// The value of the first record of a record's text (see readRecord).
QString parseRecord(const QString& content);

// Missing, empty and unreadable files all give an empty value; the status
// tells them apart for callers that must not overwrite an unreadable file.
// A record longer than `maxLength` characters is refused as unreadable.
RecordRead readRecordFile(const QString& path, qsizetype maxLength = -1);
QString readRecord(const QString& path);

// The whole file is replaced atomically: a crash leaves the old file whole.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);
bool writeTextRecord(const QString& path, const QString& text);
bool writeNumberRecord(const QString& path, qint64 number);

// Says on standard error what was odd about a file just read, if anything.
void reportRead(const QString& path, const RecordRead& read);

} // namespace campanor
