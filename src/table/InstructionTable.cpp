#include "InstructionTable.h"

#include "InstructionComposer.h"
#include "InstructionLine.h"
#include "TableText.h"
#include "common/AsRunLog.h"

#include <optional>

namespace campanor {

RecordRead readTableFile(const QString& path) {
    return readRecordFile(path);
}

bool writeTableFile(const QString& path, const QString& tableText) {
    if (tableText.contains(u'"'))
        return false;
    return writeTextRecord(path, tableText);
}

namespace {

// The file's table text less an instruction, or nothing when the file could
// not be written back without loss.
std::optional<QString> textWithout(const QString& path, const QString& line) {
    const RecordRead read = readTableFile(path);
    if ((read.status != ReadStatus::Ok && read.status != ReadStatus::Missing) || read.lossy)
        return std::nullopt;
    return removeInstruction(read.value, line);
}

} // namespace

bool takeOutOfTableFile(const QString& path, const QString& line) {
    const auto text = textWithout(path, line);
    return text && writeTableFile(path, *text);
}

void InstructionTable::clear() {
    tableText_.clear();
    lines_.clear();
}

ReadStatus InstructionTable::load(const QString& path) {
    return readIn(path, true);
}

ReadStatus InstructionTable::readIn(const QString& path, bool sayOddLines) {
    clear();
    const RecordRead read = readTableFile(path);
    reportRead(path, read);
    loadedPath_ = path;
    writable_ = read.status != ReadStatus::Unreadable && !read.lossy;
    tableText_ = read.value;
    lines_ = splitTableText(tableText_);
    sortInstructionLines(lines_);
    if (sayOddLines)
        reportOddLines(path);
    return read.status;
}

void InstructionTable::reportOddLines(const QString& path) const {
    // A table edited by hand: say what will never be carried out.
    const qsizetype all = tableText_.count(u'|');
    if (all > kMaxInstructions)
        reportProblem(QStringLiteral("指令表 %1 有 %2 条指令，只使用前 %3 条（文件中全部保留）")
                          .arg(path)
                          .arg(all)
                          .arg(kMaxInstructions));
    qsizetype malformed = 0;
    QString first;
    for (const QString& line : lines_) {
        if (Instruction::parse(line))
            continue;
        if (malformed++ == 0)
            first = line.left(60);
    }
    if (malformed > 0)
        reportProblem(QStringLiteral("指令表 %1：%2 行不是完整的指令，不会执行，例如：%3")
                          .arg(path)
                          .arg(malformed)
                          .arg(first));
}

bool InstructionTable::store(const QString& path, const QString& tableText) {
    if (!writable_ && path == loadedPath_) {
        reportProblem(QStringLiteral("指令表没有写入：%1 无法完整读取").arg(path));
        return false;
    }
    const bool written = writeTableFile(path, tableText);
    // Odd lines were said when the table was opened; not again at each change.
    readIn(path, false);
    return written;
}

bool InstructionTable::commit(const QString& path, const QString& realString) {
    return store(path, tableText_ + realString);
}

InstructionTable::Change InstructionTable::replace(const QString& path, const QString& replaced,
                                                   const QString& realString) {
    const QString text = replaced.isEmpty() ? tableText_ : removeInstruction(tableText_, replaced);
    const QStringList others = splitTableText(text);
    // Appended past the 300th line, it would be stored and never run.
    if (others.size() >= kMaxInstructions)
        return Change::Full;
    if (isDuplicate(realString.mid(1), others))
        return Change::Duplicate;
    return store(path, text + realString) ? Change::Stored : Change::NotWritten;
}

QString markedAsFailed(const QString& line) {
    auto instruction = Instruction::parse(line);
    if (!instruction || instruction->comment.startsWith(QStringLiteral("Error")))
        return {};
    instruction->comment = instruction->comment == kNoComment
                               ? QStringLiteral("Error!")
                               : QStringLiteral("Error!") + instruction->comment;
    return instruction->line();
}

bool InstructionTable::markFailed(const QString& path, const QString& line) {
    const QString marked = markedAsFailed(line);
    if (marked.isEmpty())
        return false;
    const QString text = removeInstruction(tableText_, line);
    if (text == tableText_)
        return false;
    return store(path, text + u'|' + marked);
}

} // namespace campanor
