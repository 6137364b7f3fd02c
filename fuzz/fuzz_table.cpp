// A DTT file's text: split into instruction lines, sorted, lines removed.
#include "FuzzInput.h"
#include "common/RecordFile.h"
#include "table/InstructionLine.h"
#include "table/TableText.h"

#include <algorithm>

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString tableText = parseRecord(decodeLocal(bytesOf(data, size)));
    const QStringList all = splitTableText(tableText, INT_MAX);
    QStringList lines = splitTableText(tableText);
    require(lines.size() <= kMaxInstructions, "more lines than a table holds");
    require(lines == all.mid(0, kMaxInstructions), "the first lines are not the table's");

    QStringList sorted = lines;
    sortInstructionLines(sorted);
    QStringList a = lines, b = sorted;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    require(a == b, "sorting lost or invented a line");

    for (const QString& line : lines) {
        if (const auto instruction = Instruction::parse(line)) {
            if (!instruction->comment.isEmpty())
                require(instruction->line() == line, "a line does not put back together");
        }
    }
    if (!all.isEmpty()) {
        const QString removed = removeInstruction(tableText, all.first());
        const QStringList left = splitTableText(removed, INT_MAX);
        require(!left.contains(all.first()), "a removed line is still there");
        require(left.size() == all.size() - all.count(all.first()), "removal took other lines");
    }
    return 0;
}
