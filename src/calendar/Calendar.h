#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace campanor {

// The school year: Calendar.txt in the program folder, one quoted GB18030
// record whose text is entries separated by "|", each "DATES*NAME>KIND<PARAMETER".
// Lines of the instruction tables never change for it; a site without the
// file runs exactly as without a calendar.
enum class CalendarKind {
    Holiday, // 放假: no instruction of any table runs
    Table,   // 换表: the day starts on the table named by the parameter
    MakeUp,  // 调休: weekday rules are tested as the weekday named by the parameter
};

// One day or a range of days, both included. A yearly range (每年…) ignores
// the year of its dates and may run over New Year (12月20日 to 1月5日).
struct CalendarDates {
    bool yearly = false;
    int firstYear = 0, firstMonth = 0, firstDay = 0; // firstYear is 0 when yearly
    int lastYear = 0, lastMonth = 0, lastDay = 0;    // the first day again for one day

    bool covers(const QDate& day) const;
    // Days covered in one year (yearly) or in all; shorter spans win among 换表 entries.
    int span() const;
    // "2026年10月1日", "2026年10月1日~2026年10月7日", "每年5月1日~每年9月30日".
    QString text() const;
    static std::optional<CalendarDates> parse(const QString& text);
};

// "放假", "换表" or "调休", as the file and the window write it.
QString calendarKindWord(CalendarKind kind);

struct CalendarEntry {
    CalendarDates dates;
    QString name;
    CalendarKind kind = CalendarKind::Holiday;
    // 换表: the table's path; 调休: "星期一" … "星期日", or empty while the
    // operator has not chosen one (an imported make-up day); 放假: empty.
    QString parameter;

    // "DATES*NAME>KIND<PARAMETER"
    QString text() const;
    static std::optional<CalendarEntry> parse(const QString& text);
    // 1 (Monday) … 7 (Sunday) for a make-up day with a weekday, else 0.
    int makeUpWeekday() const;
};

// What a date is, for the schedule and for the preview.
struct CalendarDay {
    bool holiday = false;
    QString holidayName;
    // The table the day starts on: a 换表 entry's, else the default table given.
    QString table;
    bool tableFromCalendar = false;
    QString tableName; // the name of the 换表 entry, when one applies
    bool makeUp = false;
    QString makeUpName;
    // The weekday (1 … 7) that weekday rules (星期X) are tested against: the
    // date's own, or the one a make-up day names.
    int ruleWeekday = 0;
    bool makeUpWithoutWeekday = false;
};

class Calendar {
  public:
    // The entries, in file order; odd entries are skipped and said in `problems`.
    static Calendar fromText(const QString& text, QStringList* problems = nullptr);
    QString text() const;

    const QList<CalendarEntry>& entries() const { return entries_; }
    QList<CalendarEntry>& entries() { return entries_; }
    bool isEmpty() const { return entries_.isEmpty(); }

    // A 调休 day is a workday: 放假 entries do not apply to it. Among 换表
    // entries the shortest span wins, the later one in the file on equal spans.
    CalendarDay resolve(const QDate& day, const QString& defaultTable) const;

  private:
    QList<CalendarEntry> entries_;
};

// "星期一" … "星期日" for 1 … 7, else empty.
QString weekdayName(int weekday);

} // namespace campanor
