#include "Formall.h"

#include "calendar/DayPlan.h"
#include "common/AsRunLog.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace campanor {

void Formall::buildCalendarWarning(QVBoxLayout* layout, QWidget* parent) {
    CalendarWarningLabel = new QLabel(parent);
    CalendarWarningLabel->setObjectName(QStringLiteral("CalendarWarningLabel"));
    CalendarWarningLabel->setAccessibleName(QStringLiteral("校历警告"));
    CalendarWarningLabel->setWordWrap(true);
    CalendarWarningLabel->setStyleSheet(QStringLiteral(
        "QLabel { color: #b00000; background: #fff0c0; font-weight: bold; padding: 2px; }"));
    CalendarWarningLabel->hide();
    layout->addWidget(CalendarWarningLabel);
}

void Formall::showCalendarWarning() {
    if (!CalendarWarningLabel)
        return;
    const QString text = calendar_.warning();
    CalendarWarningLabel->setText(text);
    CalendarWarningLabel->setVisible(!text.isEmpty());
}

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void Formall::reloadCalendar() {
    calendarBytes_ = fileBytes(calendar_.path());
    calendar_.load();
    showCalendarWarning();
}

void Formall::followCalendarFile() {
    // The file watch also fires for the window's own saves and on a first
    // look: only a text that differs from the one read counts.
    // Before the first day began nothing was read to differ from.
    if (!calendarBytes_ || fileBytes(calendar_.path()) == *calendarBytes_)
        return;
    AsRunLog::write(QStringLiteral("校历文件被外部修改，已重新读取（从下一天起生效）：") +
                    calendar_.path());
    reloadCalendar();
    showTomorrow(clock_.date());
}

TickLoop::Day Formall::beginCalendarDay(const QDate& date) {
    TickLoop::Day day;
    // Read again each day, so a change made in the window or by hand counts
    // from the next day on without a restart.
    reloadCalendar();
    showTomorrow(date);
    if (!calendar_.inUse())
        return day;
    const CalendarDay resolved = calendar_.calendar().resolve(date, DefaultTablePath);
    day.holiday = resolved.holiday;
    day.holidayName = resolved.holidayName;
    day.ruleWeekday = resolved.ruleWeekday;
    AsRunLog::write(QStringLiteral("校历：") + dayLineText(date, resolved));
    if (!QFileInfo::exists(resolved.table))
        reportProblem(QStringLiteral("校历：当天的指令表 %1 不存在").arg(resolved.table));
    OpenTableByInstruction(resolved.table);
    day.lines = table_.lines();
    return day;
}

} // namespace campanor
