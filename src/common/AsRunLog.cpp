#include "AsRunLog.h"
#include "LogWords.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>

namespace campanor {

namespace {

AsRunLog::InstructionObserver& instructionObserver() {
    static AsRunLog::InstructionObserver observer;
    return observer;
}

struct LogState {
    QString folder;
    QDate openDay;
    QFile file;
    bool failureSaid = false;
};

LogState& state() {
    static LogState s;
    return s;
}

void sayFailureOnce(const QString& why) {
    LogState& s = state();
    if (s.failureSaid)
        return;
    s.failureSaid = true;
    std::fprintf(stderr, "Campanor: 运行记录无法写入（%s），程序继续运行，不再记录\n",
                 qUtf8Printable(why));
}

// Keeps the day's file open between lines; a new day opens a new file.
QFile* fileOfToday(const QDate& today) {
    LogState& s = state();
    if (s.folder.isEmpty())
        return nullptr;
    if (s.file.isOpen() && s.openDay == today)
        return &s.file;
    s.file.close();
    s.file.setFileName(AsRunLog::fileFor(today));
    if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        sayFailureOnce(s.file.fileName() + QStringLiteral(": ") + s.file.errorString());
        return nullptr;
    }
    s.openDay = today;
    return &s.file;
}

void pruneOldDays(const QString& folder, const QDate& today) {
    static const QRegularExpression dayName(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})\\.log$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
        const auto match = dayName.match(name);
        if (!match.hasMatch())
            continue;
        const QDate day = QDate::fromString(match.captured(1), Qt::ISODate);
        if (day.isValid() && day.daysTo(today) > AsRunLog::kKeepDays)
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

void AsRunLog::open(const QString& programFolder) {
    close();
    LogState& s = state();
    s.failureSaid = false;
    s.folder = folderIn(programFolder);
    if (!QDir().mkpath(s.folder)) {
        sayFailureOnce(s.folder + QStringLiteral("：无法建立文件夹"));
        return;
    }
    pruneOldDays(s.folder, QDate::currentDate());
}

void AsRunLog::close() {
    LogState& s = state();
    s.file.close();
    s.folder.clear();
    s.openDay = QDate();
}

QString AsRunLog::folder() {
    return state().folder;
}

QString AsRunLog::fileFor(const QDate& day) {
    return fileIn(state().folder, day);
}

QString AsRunLog::folderIn(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("Log"));
}

QString AsRunLog::fileIn(const QString& logFolder, const QDate& day) {
    return QDir(logFolder).filePath(day.toString(Qt::ISODate) + QStringLiteral(".log"));
}

void AsRunLog::write(const QString& text) {
    const QDateTime now = QDateTime::currentDateTime();
    QFile* file = fileOfToday(now.date());
    if (!file)
        return;
    QString flat = text;
    flat.replace(u'\n', u' ').remove(u'\r');
    const QByteArray record =
        (now.toString(QStringLiteral("HH:mm:ss.zzz")) + u' ' + flat + u'\n').toUtf8();
    // One write of a whole line, flushed at once: a crash loses at most the
    // line being written, and a reader never sees half of it.
    if (file->write(record) != record.size() || !file->flush()) {
        sayFailureOnce(file->fileName() + QStringLiteral(": ") + file->errorString());
        file->close();
    }
}

void AsRunLog::instruction(const QDateTime& second, const QDateTime& started, const QString& line,
                           const QString& outcome) {
    write(QStringLiteral("%1 %2 %3 %4 %5%6%7")
              .arg(logword::instruction(), second.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                   logword::started(), started.toString(QStringLiteral("HH:mm:ss.zzz")), outcome,
                   QString(QChar(logword::kColon)), line));
    if (const InstructionObserver& observer = instructionObserver())
        observer(second, line, outcome);
}

void AsRunLog::setInstructionObserver(InstructionObserver observer) {
    instructionObserver() = std::move(observer);
}

void reportProblem(const QString& text) {
    std::fprintf(stderr, "Campanor: %s\n", qUtf8Printable(text));
    AsRunLog::write(text);
}

} // namespace campanor
