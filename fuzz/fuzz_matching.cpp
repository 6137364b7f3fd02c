// Instruction matching against any line, clock text and date.
#include "FuzzInput.h"
#include "scheduler/Matching.h"
#include "table/InstructionLine.h"

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    // One read a statement: the order of reads in one expression is unspecified.
    const int yearLow = in.byte();
    const int year = 1900 + yearLow + 256 * (in.byte() % 4);
    const int month = 1 + in.byte() % 12;
    const int day = 1 + in.byte() % 31;
    const QDate today(year, month, day); // may be invalid (31 February): must not matter
    const int hour = in.byte() % 24;
    const int minute = in.byte() % 60;
    const QTime time(hour, minute, in.byte() % 60);
    const QString clockText = time.toString(QStringLiteral("HH:mm:ss"));
    const QString line = QString::fromUtf8(in.rest());

    const bool due = IsInstructionDue(line, clockText, today);
    if (due) {
        const auto instruction = Instruction::parse(line);
        require(instruction && instruction->time == clockText, "due at another time");
        require(dayRuleApplies(instruction->dayRule, today), "due on a day its rule excludes");
    }
    // The line's own time, whatever it holds, never makes a malformed line due
    // at any other clock text.
    if (!Instruction::parse(line))
        require(!IsInstructionDue(line, line.section(u'*', 0, 0), today), "malformed line due");
    dayRuleApplies(line, today);
    dayRuleApplies(line, QDate());
    return 0;
}
