// Calendar.txt as a hand or another program may have left it: read, written
// back, and asked about days.
#include "FuzzInput.h"
#include "calendar/Calendar.h"
#include "common/RecordFile.h"

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader reader(data, size);
    const QDate asked = QDate(2000 + reader.byte() % 100, 1, 1).addDays(reader.byte() * 2);
    QStringList problems;
    const Calendar calendar =
        Calendar::fromText(parseRecord(decodeLocal(reader.rest())), &problems);

    // What was read is written back so that it reads the same, with nothing odd.
    QStringList again;
    const Calendar reread = Calendar::fromText(calendar.text(), &again);
    require(again.isEmpty(), "a written calendar reads with problems");
    require(reread.text() == calendar.text(), "a written calendar reads differently");
    require(reread.entries().size() == calendar.entries().size(), "entries lost on rewrite");

    for (const CalendarEntry& entry : calendar.entries()) {
        require(entry.dates.span() >= 1, "a span of no days");
        if (!entry.dates.yearly)
            require(entry.dates.covers(
                        QDate(entry.dates.firstYear, entry.dates.firstMonth, entry.dates.firstDay)),
                    "a range does not cover its first day");
        require(CalendarDates::parse(entry.dates.text()).has_value(), "dates do not read back");
    }
    const CalendarDay day = calendar.resolve(asked, QStringLiteral("/t/Default.DTT"));
    require(day.ruleWeekday >= 1 && day.ruleWeekday <= 7, "a weekday out of range");
    require(!(day.holiday && day.makeUp), "a make-up day is a holiday");
    require(!day.table.isEmpty(), "a day without a table");
    return 0;
}
