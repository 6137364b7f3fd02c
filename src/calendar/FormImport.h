#pragma once

#include "calendar/Calendar.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTreeWidget;

namespace campanor {

// The entries an import offers, before any is written: each can be unticked
// and its kind changed (a holiday or a make-up day).
class FormImport : public QDialog {
    Q_OBJECT
  public:
    FormImport(const QList<CalendarEntry>& entries, const QString& note, QWidget* parent);

    // The ticked entries, with the kinds chosen.
    QList<CalendarEntry> chosen() const;

    QTreeWidget* ImportList = nullptr;
    QPushButton* CommandImportOk = nullptr;
    QPushButton* CommandImportCancel = nullptr;

  private:
    QList<CalendarEntry> entries_;
};

} // namespace campanor
