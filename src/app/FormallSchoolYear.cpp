#include "Formall.h"

#include "calendar/CalendarChecks.h"
#include "common/Clock.h"

#include <QLabel>

namespace campanor {

void Formall::showTomorrow(const QDate& today) {
    if (!TomorrowLine)
        return;
    const Calendar calendar = calendar_.inUse() ? calendar_.calendar() : Calendar();
    const QString tomorrow = tomorrowText(calendar, today, DefaultTablePath);
    const QString warning = makeUpWithoutWeekdayWarning(calendar, today);
    QStringList parts;
    for (const QString& part : {tomorrow, warning})
        if (!part.isEmpty())
            parts << part;
    TomorrowLine->setText(parts.join(QStringLiteral("　")));
    TomorrowLine->setVisible(!parts.isEmpty());
    // A make-up day without its weekday would ring the wrong timetable: it
    // stands out as the clock warning does, whatever the skin.
    TomorrowLine->setStyleSheet(
        warning.isEmpty() ? QStringLiteral("QLabel { font-weight: bold; }")
                          : QStringLiteral("QLabel { color: #b00000; background: "
                                           "#fff0c0; font-weight: bold; padding: 2px; }"));
}

void Formall::MenuCalendar_Click() {
    if (!calendarWindow_) {
        FormCalendar::Host host;
        host.programFolder = settings_.folder();
        host.prompter = services_.prompter;
        host.dialogs = services_.dialogs;
        host.today = [this] { return services_.clock->now().date(); };
        host.internalDate = [this] { return clock_.date(); };
        host.defaultTable = [this] { return DefaultTablePath; };
        calendarWindow_ = new FormCalendar(std::move(host), this);
        calendarWindow_->setAttribute(Qt::WA_DeleteOnClose);
        // A change counts for the schedule from the next day on; what
        // tomorrow is shows at once.
        connect(calendarWindow_, &FormCalendar::calendarChanged, this, [this] {
            calendar_.load();
            showCalendarWarning();
            showTomorrow(clock_.date());
        });
    } else {
        calendarWindow_->reload();
    }
    calendarWindow_->show();
    calendarWindow_->raise();
    calendarWindow_->activateWindow();
}

} // namespace campanor
