#include "InstructionTable.h"

#include "InstructionLine.h"
#include "TableText.h"

namespace campanor {

RecordRead readTableFile(const QString& path) {
    return readRecordFile(path);
}

bool writeTableFile(const QString& path, const QString& tableText) {
    if (tableText.contains(u'"'))
        return false;
    return writeTextRecord(path, tableText);
}

bool putBackInTableFile(const QString& path, const QString& realString) {
    const RecordRead read = readTableFile(path);
    if (read.status != ReadStatus::Ok && read.status != ReadStatus::Missing)
        return false;
    return writeTableFile(path, removeInstruction(read.value, realString.mid(1)) + realString);
}

void InstructionTable::clear() {
    tableText_.clear();
    lines_.clear();
}

ReadStatus InstructionTable::load(const QString& path) {
    clear();
    const RecordRead read = readTableFile(path);
    tableText_ = read.value;
    lines_ = splitTableText(tableText_);
    sortInstructionLines(lines_);
    return read.status;
}

void InstructionTable::withhold(const QString& line) {
    tableText_ = removeInstruction(tableText_, line);
    lines_ = splitTableText(tableText_);
    sortInstructionLines(lines_);
}

bool InstructionTable::store(const QString& path, const QString& tableText) {
    const bool written = writeTableFile(path, tableText);
    load(path);
    return written;
}

bool InstructionTable::commit(const QString& path, const QString& realString) {
    return store(path, tableText_ + realString);
}

bool InstructionTable::markFailed(const QString& path, const QString& line) {
    auto instruction = Instruction::parse(line);
    if (!instruction || instruction->comment.startsWith(QStringLiteral("Error")))
        return false;
    const QString text = removeInstruction(tableText_, line);
    if (text == tableText_)
        return false;
    instruction->comment = instruction->comment == kNoComment
                               ? QStringLiteral("Error!")
                               : QStringLiteral("Error!") + instruction->comment;
    return store(path, text + u'|' + instruction->line());
}

} // namespace campanor
