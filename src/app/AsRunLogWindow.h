#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace campanor {

class Clock;

// The lines of one day's as-run log, newest first; empty when there is none.
QStringList readAsRunDay(const QString& logFolder, const QDate& day);

// The as-run log window (运行记录): one day's log, newest first, with a day
// picker. While it shows today it follows the file as lines are added.
class AsRunLogWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kFollowInterval = 2000;

    AsRunLogWindow(QString logFolder, const Clock& clock, QWidget* parent = nullptr);

    void showDay(const QDate& day);
    QDate day() const;

    QDateEdit* DayPicker = nullptr;
    QPushButton* TodayButton = nullptr;
    QPushButton* RefreshButton = nullptr;
    QPlainTextEdit* LogText = nullptr;
    QLabel* StatusLabel = nullptr;

  private:
    void reload();
    void followToday();

    QString logFolder_;
    const Clock& clock_;
    QTimer follow_;
    qint64 shownSize_ = -1;
    QDateTime shownModified_;
};

} // namespace campanor
