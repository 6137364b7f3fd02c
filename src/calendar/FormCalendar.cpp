#include "FormCalendar.h"

#include "calendar/CalendarChecks.h"
#include "calendar/DayPlan.h"
#include "calendar/FormImport.h"
#include "calendar/HolidayImport.h"
#include "common/AsRunLog.h"
#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/Settings.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace campanor {

namespace {

// An import file larger than this is not a calendar.
constexpr qint64 kMaxImportBytes = 8 * 1024 * 1024;

const QColor kHolidayColour(0xf4, 0xb0, 0xb0);
const QColor kTableColour(0xa8, 0xcc, 0xf4);
const QColor kMakeUpColour(0xb4, 0xe4, 0xa8);

QString shownDay(const QDate& day) {
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

QString swatch(const QColor& colour, const QString& text) {
    return QStringLiteral(
               "<span style=\"background-color:%1; color:#101010\">&nbsp;%2&nbsp;</span>")
        .arg(colour.name(), text);
}

} // namespace

FormCalendar::FormCalendar(Host host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(std::move(host)), file_(host_.programFolder) {
    setObjectName(QStringLiteral("FormCalendar"));
    setWindowTitle(QStringLiteral("校历"));
    buildWidgets();
    reload();
    const QDate start = host_.internalDate ? host_.internalDate() : QDate::currentDate();
    MonthView->setSelectedDate(start);
    showPreview();
}

void FormCalendar::buildWidgets() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    MonthView = new QCalendarWidget(this);
    MonthView->setObjectName(QStringLiteral("MonthView"));
    MonthView->setAccessibleName(QStringLiteral("校历月视图"));
    MonthView->setGridVisible(true);
    MonthView->setMinimumDate(QDate(1900, 1, 1));
    MonthView->setMaximumDate(QDate(9999, 12, 31));
    MonthView->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Readable whatever colours the skin gives the view.
    QTextCharFormat header;
    header.setForeground(QColor(0x20, 0x20, 0x20));
    header.setBackground(QColor(0xe8, 0xe8, 0xe8));
    MonthView->setHeaderTextFormat(header);
    left->addWidget(MonthView);
    LegendLabel = new QLabel(this);
    LegendLabel->setObjectName(QStringLiteral("LegendLabel"));
    LegendLabel->setWordWrap(true);
    left->addWidget(LegendLabel);
    DayLine = new QLabel(this);
    DayLine->setObjectName(QStringLiteral("DayLine"));
    DayLine->setAccessibleName(QStringLiteral("所选日期"));
    DayLine->setWordWrap(true);
    DayLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    left->addWidget(DayLine);
    PreviewList = new QTreeWidget(this);
    PreviewList->setObjectName(QStringLiteral("PreviewList"));
    PreviewList->setAccessibleName(QStringLiteral("所选日期将执行的指令"));
    PreviewList->setRootIsDecorated(false);
    PreviewList->setHeaderLabels({QStringLiteral("将执行的指令"), QStringLiteral("说明")});
    PreviewList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    left->addWidget(PreviewList, 1);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    ProblemLabel->setStyleSheet(QStringLiteral(
        "QLabel { color: #b00000; background: #fff0c0; font-weight: bold; padding: 2px; }"));
    ProblemLabel->hide();
    right->addWidget(ProblemLabel);
    EntryList = new QTreeWidget(this);
    EntryList->setObjectName(QStringLiteral("EntryList"));
    EntryList->setAccessibleName(QStringLiteral("校历条目"));
    EntryList->setRootIsDecorated(false);
    EntryList->setHeaderLabels({QStringLiteral("日期"), QStringLiteral("名称"),
                                QStringLiteral("类型"), QStringLiteral("指令表/星期")});
    EntryList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    right->addWidget(EntryList, 1);
    right->addWidget(buildForm());
    layout->addLayout(right, 1);

    connect(MonthView, &QCalendarWidget::selectionChanged, this, &FormCalendar::showPreview);
    connect(MonthView, &QCalendarWidget::currentPageChanged, this, &FormCalendar::markMonth);
    auto picked = [this](const QDate& day) {
        pickDay(day, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
    };
    connect(MonthView, &QCalendarWidget::clicked, this, picked);
    connect(MonthView, &QCalendarWidget::activated, this, picked);
    connect(EntryList, &QTreeWidget::currentItemChanged, this, &FormCalendar::showSelectedEntry);
    connect(ComboKind, &QComboBox::currentIndexChanged, this, &FormCalendar::kindChanged);
    connect(CommandAdd, &QPushButton::clicked, this, &FormCalendar::CommandAdd_Click);
    connect(CommandEdit, &QPushButton::clicked, this, &FormCalendar::CommandEdit_Click);
    connect(CommandDelete, &QPushButton::clicked, this, &FormCalendar::CommandDelete_Click);
    connect(CommandTable, &QPushButton::clicked, this, &FormCalendar::CommandTable_Click);
    connect(CommandImportHoliday, &QPushButton::clicked, this,
            &FormCalendar::CommandImportHoliday_Click);
    connect(CommandImportIcs, &QPushButton::clicked, this, &FormCalendar::CommandImportIcs_Click);
    resize(1000, 620);
}

QWidget* FormCalendar::buildForm() {
    auto* form = new QWidget(this);
    auto* grid = new QFormLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    auto named = [](QWidget* w, const char* name, const QString& accessible) {
        w->setObjectName(QLatin1String(name));
        w->setAccessibleName(accessible);
    };

    auto* datesRow = new QHBoxLayout;
    TextDates = new QLineEdit(form);
    named(TextDates, "TextDates", QStringLiteral("日期"));
    TextDates->setPlaceholderText(QStringLiteral("2026年10月1日~2026年10月7日"));
    TextDates->setToolTip(QStringLiteral("在月视图中点一天；按住 Shift 再点一天，选出一段日期"));
    datesRow->addWidget(TextDates, 1);
    CheckYearly = new QCheckBox(QStringLiteral("每年"), form);
    CheckYearly->setObjectName(QStringLiteral("CheckYearly"));
    datesRow->addWidget(CheckYearly);
    grid->addRow(QStringLiteral("日期："), datesRow);

    TextName = new QLineEdit(form);
    named(TextName, "TextName", QStringLiteral("名称"));
    grid->addRow(QStringLiteral("名称："), TextName);

    ComboKind = new QComboBox(form);
    named(ComboKind, "ComboKind", QStringLiteral("类型"));
    ComboKind->addItem(QStringLiteral("放假（不执行任何指令）"), int(CalendarKind::Holiday));
    ComboKind->addItem(QStringLiteral("换表（当天使用另一张指令表）"), int(CalendarKind::Table));
    ComboKind->addItem(QStringLiteral("调休（按某个星期几执行）"), int(CalendarKind::MakeUp));
    grid->addRow(QStringLiteral("类型："), ComboKind);

    auto* tableRow = new QHBoxLayout;
    TextTable = new QLineEdit(form);
    named(TextTable, "TextTable", QStringLiteral("换表的指令表"));
    tableRow->addWidget(TextTable, 1);
    CommandTable = new QPushButton(QStringLiteral("选择..."), form);
    named(CommandTable, "CommandTable", QStringLiteral("选择换表的指令表"));
    tableRow->addWidget(CommandTable);
    grid->addRow(QStringLiteral("指令表："), tableRow);

    ComboWeekday = new QComboBox(form);
    named(ComboWeekday, "ComboWeekday", QStringLiteral("调休按星期几"));
    ComboWeekday->addItem(QStringLiteral("（未选择）"), QString());
    for (int weekday = 1; weekday <= 7; ++weekday)
        ComboWeekday->addItem(weekdayName(weekday), weekdayName(weekday));
    grid->addRow(QStringLiteral("调休按："), ComboWeekday);

    auto* buttons = new QHBoxLayout;
    CommandAdd = new QPushButton(QStringLiteral("添加"), form);
    CommandAdd->setObjectName(QStringLiteral("CommandAdd"));
    CommandEdit = new QPushButton(QStringLiteral("修改"), form);
    CommandEdit->setObjectName(QStringLiteral("CommandEdit"));
    CommandDelete = new QPushButton(QStringLiteral("删除"), form);
    CommandDelete->setObjectName(QStringLiteral("CommandDelete"));
    buttons->addWidget(CommandAdd);
    buttons->addWidget(CommandEdit);
    buttons->addWidget(CommandDelete);
    grid->addRow(buttons);

    auto* imports = new QHBoxLayout;
    CommandImportHoliday = new QPushButton(QStringLiteral("导入法定节假日(JSON)..."), form);
    CommandImportHoliday->setObjectName(QStringLiteral("CommandImportHoliday"));
    CommandImportIcs = new QPushButton(QStringLiteral("导入日历(.ics)..."), form);
    CommandImportIcs->setObjectName(QStringLiteral("CommandImportIcs"));
    imports->addWidget(CommandImportHoliday);
    imports->addWidget(CommandImportIcs);
    grid->addRow(imports);
    kindChanged();
    return form;
}

void FormCalendar::reload() {
    file_.load();
    const bool writable = file_.writable();
    ProblemLabel->setText(writable ? QString()
                                   : file_.warning() + QStringLiteral("。在修好或移走它之前，"
                                                                      "校历不能在这里修改。"));
    ProblemLabel->setVisible(!writable);
    for (QPushButton* button :
         {CommandAdd, CommandEdit, CommandDelete, CommandImportHoliday, CommandImportIcs})
        button->setEnabled(writable);
    fillEntries();
    markMonth();
    showPreview();
}

Calendar FormCalendar::effective() const {
    return file_.writable() ? file_.calendar() : Calendar();
}

int FormCalendar::entryAtRow(int row) const {
    const QTreeWidgetItem* item = EntryList->topLevelItem(row);
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void FormCalendar::fillEntries() {
    EntryList->clear();
    const auto& entries = file_.calendar().entries();
    for (const int index : entriesInDateOrder(file_.calendar())) {
        const CalendarEntry& entry = entries[index];
        QString parameter = entry.parameter;
        if (entry.kind == CalendarKind::MakeUp && parameter.isEmpty())
            parameter = QStringLiteral("（未选择星期）");
        auto* row = new QTreeWidgetItem(
            EntryList, {entry.dates.text(), entry.name, calendarKindWord(entry.kind), parameter});
        row->setData(0, Qt::UserRole, index);
        row->setToolTip(3, entry.parameter);
        if (entry.kind == CalendarKind::MakeUp && entry.parameter.isEmpty())
            row->setForeground(3, QColor(0xb0, 0, 0));
    }
}

void FormCalendar::markMonth() {
    MonthView->setDateTextFormat(QDate(), QTextCharFormat()); // clears every mark
    const Calendar calendar = effective();
    const QDate first(MonthView->yearShown(), MonthView->monthShown(), 1);
    // The weeks before and after the month show in the view too.
    for (QDate day = first.addDays(-7); day <= first.addMonths(1).addDays(13);
         day = day.addDays(1)) {
        QTextCharFormat format;
        const DayMark mark = dayMark(calendar, day);
        if (mark != DayMark::None)
            format.setForeground(QColor(0x10, 0x10, 0x10)); // on a light colour in every skin
        switch (mark) {
        case DayMark::Holiday:
            format.setBackground(kHolidayColour);
            break;
        case DayMark::Table:
            format.setBackground(kTableColour);
            break;
        case DayMark::MakeUp:
            format.setBackground(kMakeUpColour);
            break;
        case DayMark::None:
            break;
        }
        MonthView->setDateTextFormat(day, format);
    }
    const QDate today = host_.today ? host_.today() : QDate::currentDate();
    const QDate internal = host_.internalDate ? host_.internalDate() : today;
    QTextCharFormat todayFormat = MonthView->dateTextFormat(today);
    todayFormat.setFontWeight(QFont::Black);
    todayFormat.setForeground(QColor(0xc0, 0x40, 0));
    MonthView->setDateTextFormat(today, todayFormat);
    QTextCharFormat internalFormat = MonthView->dateTextFormat(internal);
    internalFormat.setFontUnderline(true);
    internalFormat.setFontWeight(QFont::Black);
    MonthView->setDateTextFormat(internal, internalFormat);
    LegendLabel->setText(swatch(kHolidayColour, QStringLiteral("放假")) + QStringLiteral("　") +
                         swatch(kTableColour, QStringLiteral("换表")) + QStringLiteral("　") +
                         swatch(kMakeUpColour, QStringLiteral("调休")) +
                         QStringLiteral("<br>橙色粗体：今天 %1　下划线：内部时钟日期 %2")
                             .arg(shownDay(today), shownDay(internal)));
}

void FormCalendar::showPreview() {
    const QDate day = MonthView->selectedDate();
    const DayPlan plan = planDay(effective(), day, host_.defaultTable ? host_.defaultTable() : "");
    DayLine->setText(plan.dayLine);
    PreviewList->clear();
    for (const PlannedInstruction& planned : plan.instructions) {
        auto* row = new QTreeWidgetItem(PreviewList, {planned.line, planned.missing});
        row->setToolTip(0, planned.table);
        if (!planned.missing.isEmpty())
            for (int column = 0; column < 2; ++column)
                row->setForeground(column, QColor(0xc0, 0, 0));
    }
    if (plan.instructions.isEmpty())
        new QTreeWidgetItem(PreviewList, {plan.day.holiday ? QStringLiteral("（放假，不执行指令）")
                                                           : QStringLiteral("（没有指令）")});
}

void FormCalendar::pickDay(const QDate& day, bool extend) {
    QDate first = extend && rangeStart_.isValid() ? rangeStart_ : day;
    QDate last = day;
    if (last < first)
        std::swap(first, last);
    if (!extend)
        rangeStart_ = day;
    auto text = [this](const QDate& d) {
        return CheckYearly->isChecked() ? QStringLiteral("每年%1月%2日").arg(d.month()).arg(d.day())
                                        : shownDay(d);
    };
    TextDates->setText(first == last ? text(first) : text(first) + u'~' + text(last));
}

void FormCalendar::showSelectedEntry() {
    const int index = entryAtRow(EntryList->indexOfTopLevelItem(EntryList->currentItem()));
    if (index < 0)
        return;
    const CalendarEntry& entry = file_.calendar().entries()[index];
    TextDates->setText(entry.dates.text());
    CheckYearly->setChecked(entry.dates.yearly);
    TextName->setText(entry.name);
    ComboKind->setCurrentIndex(ComboKind->findData(int(entry.kind)));
    TextTable->setText(entry.kind == CalendarKind::Table ? entry.parameter : QString());
    ComboWeekday->setCurrentIndex(entry.kind == CalendarKind::MakeUp
                                      ? std::max(0, ComboWeekday->findData(entry.parameter))
                                      : 0);
    if (!entry.dates.yearly)
        MonthView->setSelectedDate(
            QDate(entry.dates.firstYear, entry.dates.firstMonth, entry.dates.firstDay));
}

void FormCalendar::kindChanged() {
    const auto kind = CalendarKind(ComboKind->currentData().toInt());
    TextTable->setEnabled(kind == CalendarKind::Table);
    CommandTable->setEnabled(kind == CalendarKind::Table);
    ComboWeekday->setEnabled(kind == CalendarKind::MakeUp);
}

void FormCalendar::CommandTable_Click() {
    const QString path = host_.dialogs->openFile(this, QStringLiteral("选择换表的指令表(*.DTT):"),
                                                 joinPath(host_.programFolder, file::DayTimeTable),
                                                 QStringLiteral("指令表(*.DTT)|*.DTT"));
    if (!path.isEmpty())
        TextTable->setText(path);
}

bool FormCalendar::refusedUnreadable() {
    if (file_.writable())
        return false;
    host_.prompter->message(this, file_.warning() + QStringLiteral("，校历不能修改。"),
                            Prompter::Icon::Critical, Prompter::Buttons::Ok);
    return true;
}

bool FormCalendar::acceptedDespite(const QString& warning) {
    if (warning.isEmpty())
        return true;
    return host_.prompter->message(this, warning + QStringLiteral("\n仍然保存吗？"),
                                   Prompter::Icon::Warning,
                                   Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

bool FormCalendar::store(const Calendar& next, const QString& logText) {
    if (!file_.save(next)) {
        host_.prompter->message(this,
                                file_.problems().join(u'\n') + QStringLiteral("\n校历没有改变。"),
                                Prompter::Icon::Critical, Prompter::Buttons::Ok);
        reload();
        return false;
    }
    AsRunLog::write(QStringLiteral("校历：") + logText);
    reload();
    emit calendarChanged();
    return true;
}

void FormCalendar::CommandAdd_Click() {
    if (refusedUnreadable())
        return;
    const auto kind = CalendarKind(ComboKind->currentData().toInt());
    const CheckedEntry checked = checkEntryForm(
        {TextDates->text(), TextName->text(), kind,
         kind == CalendarKind::Table ? TextTable->text() : ComboWeekday->currentData().toString()},
        false);
    if (!checked.entry) {
        host_.prompter->message(this, checked.refusal, Prompter::Icon::Critical,
                                Prompter::Buttons::Ok);
        return;
    }
    if (!acceptedDespite(sameDatesWarning(file_.calendar(), *checked.entry)))
        return;
    Calendar next = file_.calendar();
    next.entries().append(*checked.entry);
    store(next, QStringLiteral("增加 ") + checked.entry->text());
}

void FormCalendar::CommandEdit_Click() {
    if (refusedUnreadable())
        return;
    const int index = entryAtRow(EntryList->indexOfTopLevelItem(EntryList->currentItem()));
    if (index < 0) {
        host_.prompter->message(this, QStringLiteral("请先在列表中选择要修改的条目"),
                                Prompter::Icon::Information, Prompter::Buttons::Ok);
        return;
    }
    const CalendarEntry old = file_.calendar().entries()[index];
    const auto kind = CalendarKind(ComboKind->currentData().toInt());
    // An imported make-up day may keep waiting for its weekday.
    const bool mayWait = old.kind == CalendarKind::MakeUp && old.parameter.isEmpty();
    const CheckedEntry checked = checkEntryForm(
        {TextDates->text(), TextName->text(), kind,
         kind == CalendarKind::Table ? TextTable->text() : ComboWeekday->currentData().toString()},
        mayWait);
    if (!checked.entry) {
        host_.prompter->message(this, checked.refusal, Prompter::Icon::Critical,
                                Prompter::Buttons::Ok);
        return;
    }
    if (!acceptedDespite(sameDatesWarning(file_.calendar(), *checked.entry, index)))
        return;
    Calendar next = file_.calendar();
    next.entries()[index] = *checked.entry;
    if (!store(next, QStringLiteral("修改 %1 -> %2").arg(old.text(), checked.entry->text())))
        return;
    // The entry stays selected for the next change.
    for (int row = 0; row < EntryList->topLevelItemCount(); ++row)
        if (entryAtRow(row) == index)
            EntryList->setCurrentItem(EntryList->topLevelItem(row));
}

void FormCalendar::CommandDelete_Click() {
    if (refusedUnreadable())
        return;
    const int index = entryAtRow(EntryList->indexOfTopLevelItem(EntryList->currentItem()));
    if (index < 0)
        return;
    const CalendarEntry old = file_.calendar().entries()[index];
    if (host_.prompter->message(this, QStringLiteral("删除校历条目 %1？").arg(old.text()),
                                Prompter::Icon::Question,
                                Prompter::Buttons::YesNoDefaultNo) != Prompter::Answer::Yes)
        return;
    Calendar next = file_.calendar();
    next.entries().removeAt(index);
    store(next, QStringLiteral("删除 ") + old.text());
}

void FormCalendar::CommandImportHoliday_Click() {
    importFile(false);
}
void FormCalendar::CommandImportIcs_Click() {
    importFile(true);
}

void FormCalendar::importFile(bool ics) {
    if (refusedUnreadable())
        return;
    const QString path = host_.dialogs->openFile(this,
                                                 ics ? QStringLiteral("选择日历文件(*.ics):")
                                                     : QStringLiteral("选择节假日文件(*.json):"),
                                                 host_.programFolder,
                                                 ics ? QStringLiteral("iCalendar(*.ics)|*.ics")
                                                     : QStringLiteral("holiday-cn(*.json)|*.json"));
    if (path.isEmpty())
        return;
    QFile in(path);
    if (in.size() > kMaxImportBytes || !in.open(QIODevice::ReadOnly)) {
        host_.prompter->message(this, QStringLiteral("无法读取：") + path, Prompter::Icon::Critical,
                                Prompter::Buttons::Ok);
        return;
    }
    const QByteArray bytes = in.readAll();
    const QDate from = host_.internalDate ? host_.internalDate() : QDate::currentDate();
    const CalendarImport found = ics ? importICalendar(bytes, from, file_.calendar())
                                     : importHolidayCn(bytes, file_.calendar());
    if (found.entries.isEmpty()) {
        host_.prompter->message(
            this,
            (found.problem.isEmpty() ? QString() : found.problem + u'\n') +
                QStringLiteral("没有要添加的条目（文件中的日期都已在校历中）：") + path,
            found.problem.isEmpty() ? Prompter::Icon::Information : Prompter::Icon::Warning,
            Prompter::Buttons::Ok);
        return;
    }
    delete import_;
    import_ = new FormImport(found.entries, found.problem, this);
    connect(import_, &QDialog::accepted, this, [this] { addImported(import_->chosen()); });
    import_->open();
}

void FormCalendar::addImported(const QList<CalendarEntry>& entries) {
    Calendar next = file_.calendar();
    int added = 0;
    for (const CalendarEntry& entry : entries) {
        if (calendarHolds(next, entry))
            continue;
        next.entries().append(entry);
        ++added;
    }
    if (added > 0)
        store(next, QStringLiteral("导入 %1 条").arg(added));
}

} // namespace campanor
