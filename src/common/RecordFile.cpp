#include "RecordFile.h"

#include "AsRunLog.h"

#include <QFile>
#include <QFileInfo>
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

namespace {

RecordRead unreadable(const QString& problem) {
    RecordRead result;
    result.status = ReadStatus::Unreadable;
    result.problem = problem;
    return result;
}

bool hasClosingQuote(const QString& content) {
    const qsizetype open = content.indexOf(u'"');
    if (open < 0 || !content.left(open).trimmed().isEmpty())
        return true; // a bare value needs none
    return content.indexOf(u'"', open + 1) >= 0;
}

} // namespace

RecordRead readRecordFile(const QString& path, qsizetype maxLength) {
    QFile file(path);
    if (!QFileInfo::exists(path))
        return {};
    if (QFileInfo(path).isDir())
        return unreadable(QStringLiteral("这里是一个文件夹，不是文件"));
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());

    QStringDecoder decoder("GB18030");
    const QString content = decoder(bytes);
    RecordRead result;
    result.status = ReadStatus::Ok;
    result.value = parseRecord(content);
    if (maxLength >= 0 && result.value.size() > maxLength)
        return unreadable(QStringLiteral("记录有 %1 个字符，太长").arg(result.value.size()));
    if (decoder.hasError()) {
        result.lossy = true;
        result.problem = QStringLiteral("含有不是 GB18030 的字节");
    } else if (!hasClosingQuote(content)) {
        result.problem = QStringLiteral("缺少结尾的引号");
    }
    return result;
}

void reportRead(const QString& path, const RecordRead& read) {
    if (read.problem.isEmpty())
        return;
    const QString text =
        read.status == ReadStatus::Unreadable
            ? QStringLiteral("无法读取 %1（%2），文件保持原样").arg(path, read.problem)
            : QStringLiteral("%1 %2，使用能读出的部分").arg(path, read.problem);
    reportProblem(text);
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
