#pragma once

#include "calendar/CalendarFile.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace campanor {

class FileDialogs;
class Prompter;
class FormImport;

// The 校历 window: the calendar file's entries in date order with their
// days marked in a month view, editing that writes the file at once, the
// imports, and what a chosen day will run.
class FormCalendar : public QWidget {
    Q_OBJECT
  public:
    struct Host {
        QString programFolder;
        Prompter* prompter = nullptr;
        FileDialogs* dialogs = nullptr;
        std::function<QDate()> today;        // the system clock's date
        std::function<QDate()> internalDate; // the internal clock's date
        std::function<QString()> defaultTable;
    };

    explicit FormCalendar(Host host, QWidget* parent = nullptr);

    // Reads the file again and shows it.
    void reload();
    // A day picked in the month view: the dates box takes it, or runs to it
    // from its first day when `extend` (the first and last day of a range).
    void pickDay(const QDate& day, bool extend);
    // The entry at a row of EntryList, in date order; -1 for none.
    int entryAtRow(int row) const;

    void CommandAdd_Click();
    void CommandEdit_Click();
    void CommandDelete_Click();
    void CommandTable_Click();
    void CommandImportHoliday_Click();
    void CommandImportIcs_Click();

    const Calendar& calendar() const { return file_.calendar(); }

    QCalendarWidget* MonthView = nullptr;
    QLabel* LegendLabel = nullptr;
    QTreeWidget* EntryList = nullptr;
    QLineEdit* TextDates = nullptr;
    QCheckBox* CheckYearly = nullptr;
    QLineEdit* TextName = nullptr;
    QComboBox* ComboKind = nullptr;
    QLineEdit* TextTable = nullptr;
    QPushButton* CommandTable = nullptr;
    QComboBox* ComboWeekday = nullptr;
    QPushButton *CommandAdd = nullptr, *CommandEdit = nullptr, *CommandDelete = nullptr;
    QPushButton *CommandImportHoliday = nullptr, *CommandImportIcs = nullptr;
    QLabel* ProblemLabel = nullptr;
    QLabel* DayLine = nullptr;
    QTreeWidget* PreviewList = nullptr;
    FormImport* importDialog() const { return import_; }

  signals:
    // The file was written: the main window reads it again.
    void calendarChanged();

  private:
    void buildWidgets();
    QWidget* buildForm();
    void fillEntries();
    void markMonth();
    void showPreview();
    void showSelectedEntry();
    void kindChanged();
    bool refusedUnreadable();
    // Asks about a same-dates entry; false when the operator stops.
    bool acceptedDespite(const QString& warning);
    bool store(const Calendar& next, const QString& logText);
    void importFile(bool ics);
    void addImported(const QList<CalendarEntry>& entries);
    Calendar effective() const;

    Host host_;
    CalendarFile file_;
    QDate rangeStart_;
    FormImport* import_ = nullptr;
};

} // namespace campanor
