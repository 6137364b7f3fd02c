#include "AsRunLogWindow.h"

#include "common/AsRunLog.h"
#include "common/Clock.h"

#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace campanor {

QStringList readAsRunDay(const QString& logFolder, const QDate& day) {
    QFile file(AsRunLog::fileIn(logFolder, day));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (QByteArray& line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines.prepend(QString::fromUtf8(line));
    }
    return lines;
}

AsRunLogWindow::AsRunLogWindow(QString logFolder, const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), logFolder_(std::move(logFolder)), clock_(clock) {
    setObjectName(QStringLiteral("AsRunLogWindow"));
    setWindowTitle(QStringLiteral("运行记录"));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* dayLabel = new QLabel(QStringLiteral("日期："), this);
    top->addWidget(dayLabel);
    DayPicker = new QDateEdit(this);
    DayPicker->setObjectName(QStringLiteral("DayPicker"));
    DayPicker->setCalendarPopup(true);
    DayPicker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DayPicker->setAccessibleName(QStringLiteral("日期"));
    dayLabel->setBuddy(DayPicker);
    top->addWidget(DayPicker);
    TodayButton = new QPushButton(QStringLiteral("今天"), this);
    TodayButton->setObjectName(QStringLiteral("TodayButton"));
    top->addWidget(TodayButton);
    RefreshButton = new QPushButton(QStringLiteral("刷新"), this);
    RefreshButton->setObjectName(QStringLiteral("RefreshButton"));
    top->addWidget(RefreshButton);
    top->addStretch(1);
    layout->addLayout(top);

    LogText = new QPlainTextEdit(this);
    LogText->setObjectName(QStringLiteral("LogText"));
    LogText->setReadOnly(true);
    LogText->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogText->setAccessibleName(QStringLiteral("运行记录（最新的在最前）"));
    layout->addWidget(LogText, 1);

    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    layout->addWidget(StatusLabel);

    const QDate today = clock_.now().date();
    DayPicker->setMaximumDate(today);
    DayPicker->setDate(today);
    connect(DayPicker, &QDateEdit::dateChanged, this, [this] { reload(); });
    connect(TodayButton, &QPushButton::clicked, this, [this] { showDay(clock_.now().date()); });
    connect(RefreshButton, &QPushButton::clicked, this, [this] { reload(); });
    follow_.setInterval(kFollowInterval);
    connect(&follow_, &QTimer::timeout, this, &AsRunLogWindow::followToday);
    follow_.start();

    reload();
    resize(760, 520);
}

QDate AsRunLogWindow::day() const {
    return DayPicker->date();
}

void AsRunLogWindow::showDay(const QDate& day) {
    // Past midnight, today is a day the picker did not offer yet.
    const QDate today = clock_.now().date();
    if (DayPicker->maximumDate() < today)
        DayPicker->setMaximumDate(today);
    if (day == DayPicker->date())
        reload();
    else
        DayPicker->setDate(day);
}

void AsRunLogWindow::reload() {
    const QFileInfo info(AsRunLog::fileIn(logFolder_, day()));
    shownSize_ = info.exists() ? info.size() : -1;
    shownModified_ = info.exists() ? info.lastModified() : QDateTime();
    const QStringList lines = readAsRunDay(logFolder_, day());
    LogText->setPlainText(lines.join(u'\n'));
    LogText->moveCursor(QTextCursor::Start);
    StatusLabel->setText(lines.isEmpty()
                             ? QStringLiteral("这一天没有运行记录")
                             : QStringLiteral("共 %1 条记录，最新的在最前").arg(lines.size()));
}

void AsRunLogWindow::followToday() {
    if (!isVisible())
        return;
    // A window left open over midnight moves on to the new day with the log.
    const QDate today = clock_.now().date();
    if (DayPicker->maximumDate() < today) {
        const bool wasToday = day() == DayPicker->maximumDate();
        DayPicker->setMaximumDate(today);
        if (wasToday)
            DayPicker->setDate(today);
        return;
    }
    // Only today's file grows; older days are read once.
    if (day() != today)
        return;
    const QFileInfo info(AsRunLog::fileIn(logFolder_, day()));
    const qint64 size = info.exists() ? info.size() : -1;
    if (size != shownSize_ || (info.exists() && info.lastModified() != shownModified_))
        reload();
}

} // namespace campanor
