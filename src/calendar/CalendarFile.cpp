#include "CalendarFile.h"

#include "common/AsRunLog.h"
#include "common/ProgramFolder.h"
#include "common/RecordFile.h"
#include "common/Settings.h"

namespace campanor {

CalendarFile::CalendarFile(const QString& programFolder)
    : path_(joinPath(programFolder, file::Calendar)) {}

bool CalendarFile::load() {
    calendar_ = Calendar();
    problems_.clear();
    unreadable_.clear();
    const RecordRead read = readRecordFile(path_);
    exists_ = read.status != ReadStatus::Missing;
    if (read.status == ReadStatus::Unreadable)
        unreadable_ = read.problem;
    else if (read.lossy)
        unreadable_ = QStringLiteral("含有不是 GB18030 的字节");
    else if (!read.problem.isEmpty())
        // Without its closing quotation mark the text may have been cut short.
        unreadable_ = QStringLiteral("缺少结尾的引号");
    if (!unreadable_.isEmpty()) {
        problems_
            << QStringLiteral("校历文件无法完整读取（%1），未使用：%2").arg(unreadable_, path_);
        reportProblem(QStringLiteral("校历文件 %1 无法完整读取（%2），未使用，文件保持原样")
                          .arg(path_, read.problem.isEmpty() ? unreadable_ : read.problem));
        return false;
    }
    calendar_ = Calendar::fromText(read.value, &problems_);
    for (const QString& problem : std::as_const(problems_))
        reportProblem(QStringLiteral("校历文件 %1：%2").arg(path_, problem));
    return inUse();
}

bool CalendarFile::save(const Calendar& calendar) {
    problems_.clear();
    if (!writable()) {
        problems_ << QStringLiteral("校历文件无法完整读取，不能改写：") + path_;
        return false;
    }
    const QString text = calendar.text();
    // The record has no escape for a quotation mark.
    if (text.contains(u'"')) {
        problems_ << QStringLiteral("校历中不能含有双引号");
        return false;
    }
    if (!writeTextRecord(path_, text)) {
        problems_ << QStringLiteral("校历文件无法写入：") + path_;
        reportProblem(QStringLiteral("校历文件 %1 无法写入").arg(path_));
        return false;
    }
    calendar_ = calendar;
    exists_ = true;
    return true;
}

QString CalendarFile::warning() const {
    if (!unreadable_.isEmpty())
        return problems_.value(0);
    if (!problems_.isEmpty())
        return QStringLiteral("校历文件中有 %1 项无法识别，已跳过（详见运行日志）：%2")
            .arg(problems_.size())
            .arg(path_);
    return {};
}

} // namespace campanor
