#include "RecordFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace campanor {

QByteArray encodeLocal(const QString& text) {
    QStringEncoder encoder("GB18030");
    return encoder(text);
}

QString decodeLocal(const QByteArray& bytes) {
    QStringDecoder decoder("GB18030");
    return decoder(bytes);
}

QString parseRecord(const QString& content) {
    qsizetype i = 0;
    while (i < content.size() && (content[i] == u' ' || content[i] == u'\t'))
        ++i;
    if (i < content.size() && content[i] == u'"') {
        const qsizetype close = content.indexOf(u'"', i + 1);
        if (close >= 0)
            return content.mid(i + 1, close - i - 1);
        // No closing quotation mark: the text runs to the end of the line.
        qsizetype end = i + 1;
        while (end < content.size() && content[end] != u'\r' && content[end] != u'\n')
            ++end;
        return content.mid(i + 1, end - i - 1);
    }
    qsizetype end = i;
    while (end < content.size() && content[end] != u',' && content[end] != u'\r' &&
           content[end] != u'\n')
        ++end;
    QString field = content.mid(i, end - i);
    while (!field.isEmpty() && (field.back() == u' ' || field.back() == u'\t'))
        field.chop(1);
    return field;
}

RecordRead readRecordFile(const QString& path) {
    RecordRead result;
    QFile file(path);
    if (!file.exists())
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    result.status = ReadStatus::Ok;
    result.value = parseRecord(decodeLocal(bytes));
    return result;
}

QString readRecord(const QString& path) {
    return readRecordFile(path).value;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeTextRecord(const QString& path, const QString& text) {
    return writeFileAtomically(path, "\"" + encodeLocal(text) + "\"\r\n");
}

bool writeNumberRecord(const QString& path, qint64 number) {
    return writeFileAtomically(path, QByteArray::number(number) + "\r\n");
}

} // namespace campanor
