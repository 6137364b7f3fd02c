#include "calendar/FormCalendar.h"
#include "app/FormallFixture.h"
#include "calendar/FormImport.h"
#include "common/RecordFile.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTreeWidget>

namespace campanor::test {
namespace {

const QColor kHoliday(0xf4, 0xb0, 0xb0);
const QColor kTable(0xa8, 0xcc, 0xf4);
const QColor kMakeUp(0xb4, 0xe4, 0xa8);

QColor marked(QCalendarWidget* view, const QDate& day) {
    const QBrush brush = view->dateTextFormat(day).background();
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

class FormCalendarTest : public ::testing::Test {
  protected:
    std::unique_ptr<FormCalendar> open() {
        FormCalendar::Host host;
        host.programFolder = dir.path();
        host.prompter = &prompter;
        host.dialogs = &dialogs;
        host.today = [] { return QDate(2026, 9, 30); };
        host.internalDate = [] { return QDate(2026, 9, 30); };
        host.defaultTable = [this] { return dir.file("DayTimeTable/Default.DTT"); };
        return std::make_unique<FormCalendar>(std::move(host));
    }
    QString stored() const { return readRecordFile(dir.file("Calendar.txt")).value; }
    // Fills the form and presses add; the last message shown, if one was.
    QString add(FormCalendar& w, const QString& dates, const QString& name, int kind,
                const QString& parameter = QString()) {
        const qsizetype before = prompter.shown.size();
        w.TextDates->setText(dates);
        w.TextName->setText(name);
        w.ComboKind->setCurrentIndex(kind);
        w.TextTable->setText(kind == 1 ? parameter : QString());
        w.ComboWeekday->setCurrentIndex(kind == 2 ? std::max(0, w.ComboWeekday->findText(parameter))
                                                  : 0);
        w.CommandAdd->click();
        return prompter.shown.size() > before ? prompter.shown.last().text : QString();
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
};

TEST_F(FormCalendarTest, EditingWritesTheFileAtOnceRefusesWhatItCannotHoldAndMarksTheMonth) {
    dir.write("DayTimeTable/EXAM.DTT", TempFolder::quoted(QString()));
    const QString exam = dir.file("DayTimeTable/EXAM.DTT");
    auto w = open();

    // A range picked in the month view: a day, then the last day with Shift.
    w->pickDay(QDate(2026, 10, 1), false);
    w->pickDay(QDate(2026, 10, 7), true);
    EXPECT_EQ(w->TextDates->text(), QStringLiteral("2026年10月1日~2026年10月7日"));
    EXPECT_EQ(add(*w, w->TextDates->text(), QStringLiteral("国庆节"), 0), QString());
    EXPECT_EQ(stored(), QStringLiteral("2026年10月1日~2026年10月7日*国庆节>放假<"));

    const QString before = stored();
    EXPECT_TRUE(add(*w, QStringLiteral("2026年10月7日~2026年10月1日"), "x", 0).contains("早于"));
    EXPECT_TRUE(add(*w, QStringLiteral("2026年10月12日"), "x", 1, "/nowhere/X.DTT")
                    .contains(QStringLiteral("指令表不存在：/nowhere/X.DTT")));
    EXPECT_TRUE(add(*w, QStringLiteral("2026年10月10日"), "补班", 2).contains("星期几"));
    EXPECT_TRUE(add(*w, QStringLiteral("2026年10月9日"), "期中|考试", 0).contains("不能含有"));
    EXPECT_EQ(stored(), before);

    // The table comes from the table dialog.
    dialogs.answers << exam;
    w->ComboKind->setCurrentIndex(1);
    w->CommandTable->click();
    EXPECT_EQ(w->TextTable->text(), exam);
    EXPECT_EQ(add(*w, QStringLiteral("2026-10-12~2026-10-16"), "期中考试", 1, exam), QString());
    EXPECT_EQ(add(*w, QStringLiteral("2026年10月10日"), "补班", 2, "星期二"), QString());

    // Same kind on the same dates: asked, and left out when the answer is no.
    const QString warning = add(*w, QStringLiteral("2026年10月1日~2026年10月7日"), "别名", 0);
    EXPECT_TRUE(warning.contains("已有同样日期")) << warning.toStdString();
    EXPECT_EQ(prompter.shown.last().icon, Prompter::Icon::Warning);
    EXPECT_EQ(stored(), QStringLiteral("2026年10月1日~2026年10月7日*国庆节>放假<|2026年10月12日~"
                                       "2026年10月16日*期中考试>换表<") +
                            exam + QStringLiteral("|2026年10月10日*补班>调休<星期二"));

    // Date order in the list; the month view in three colours.
    ASSERT_EQ(w->EntryList->topLevelItemCount(), 3);
    EXPECT_EQ(w->EntryList->topLevelItem(1)->text(0), QStringLiteral("2026年10月10日"));
    w->MonthView->setCurrentPage(2026, 10);
    EXPECT_EQ(marked(w->MonthView, QDate(2026, 10, 3)), kHoliday);
    EXPECT_EQ(marked(w->MonthView, QDate(2026, 10, 10)), kMakeUp);
    EXPECT_EQ(marked(w->MonthView, QDate(2026, 10, 14)), kTable);
    EXPECT_EQ(marked(w->MonthView, QDate(2026, 10, 20)), QColor());

    // Edit: the selected entry fills the form.
    w->EntryList->setCurrentItem(w->EntryList->topLevelItem(1));
    EXPECT_EQ(w->ComboWeekday->currentText(), QStringLiteral("星期二"));
    w->ComboWeekday->setCurrentIndex(w->ComboWeekday->findText(QStringLiteral("星期三")));
    w->CommandEdit->click();
    EXPECT_TRUE(stored().endsWith(QStringLiteral("|2026年10月10日*补班>调休<星期三")));

    // Delete, once confirmed.
    w->EntryList->setCurrentItem(w->EntryList->topLevelItem(0));
    prompter.answers.push_back(Prompter::Answer::Yes);
    w->CommandDelete->click();
    EXPECT_FALSE(stored().contains(QStringLiteral("国庆节")));
    EXPECT_EQ(w->EntryList->topLevelItemCount(), 2);
    EXPECT_EQ(marked(w->MonthView, QDate(2026, 10, 3)), QColor());

    // A file that cannot be read whole is said and never written.
    const QByteArray broken = "\"" + encodeLocal(QStringLiteral("2026年10月1日*坏>放假<"));
    dir.write("Calendar.txt", broken);
    w->reload();
    EXPECT_TRUE(w->ProblemLabel->isVisibleTo(w.get()));
    EXPECT_FALSE(w->CommandAdd->isEnabled());
    w->CommandAdd_Click();
    EXPECT_TRUE(prompter.shown.last().text.contains(QStringLiteral("不能修改")));
    QFile file(dir.file("Calendar.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
}

class SchoolYearWindowTest : public FormallTest {
  protected:
    QString stored() const { return readRecordFile(dir.file("Calendar.txt")).value; }
};

TEST_F(SchoolYearWindowTest, PreviewImportAndTomorrowLine) {
    clock.set(QDateTime(QDate(2026, 10, 9), QTime(8, 0, 0)));
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|07:30:00*没有注释>星期二<线路打开"
                                                "|10:00:01*缺>每天</nowhere/bell.mp3")));
    dir.write("DefaultDTT.txt", TempFolder::quoted(dir.file("DayTimeTable/Default.DTT")));
    dir.write("Calendar.txt",
              TempFolder::quoted(QStringLiteral("2026年10月10日*补班>调休<星期二")));
    auto w = start();
    EXPECT_EQ(w->TomorrowLine->text(), QStringLiteral("明天：调休，按星期二"));
    EXPECT_TRUE(w->TomorrowLine->isVisibleTo(w.get()));

    item(*w, "MenuCalendar")->trigger();
    FormCalendar* cal = w->calendarWindow();
    ASSERT_NE(cal, nullptr);
    cal->MonthView->setSelectedDate(QDate(2026, 10, 10));
    EXPECT_EQ(cal->DayLine->text(),
              QStringLiteral("2026年10月10日 星期六 调休（按星期二） 表：Default.DTT"));
    ASSERT_EQ(cal->PreviewList->topLevelItemCount(), 2);
    EXPECT_NE(cal->PreviewList->topLevelItem(0)->foreground(0).color(), QColor(0xc0, 0, 0));
    QTreeWidgetItem* missing = cal->PreviewList->topLevelItem(1);
    EXPECT_EQ(missing->text(0), QStringLiteral("10:00:01*缺>每天</nowhere/bell.mp3"));
    EXPECT_EQ(missing->text(1), QStringLiteral("铃声文件不存在：/nowhere/bell.mp3"));
    EXPECT_EQ(missing->foreground(0).color(), QColor(0xc0, 0, 0));

    // Nothing is written before the entries to be added are confirmed.
    dir.write("holiday.json", R"({"year":2026,"days":[
        {"name":"国庆节","date":"2026-10-01","isOffDay":true},
        {"name":"国庆节","date":"2026-10-02","isOffDay":true},
        {"name":"国庆节","date":"2026-10-10","isOffDay":false},
        {"name":"国庆节","date":"2026-10-11","isOffDay":false},
        {"name":"中秋节","date":"2026-10-16","isOffDay":true},
        {"name":"运动会","date":"2026-10-20","isOffDay":true}]})");
    dialogs.answers << dir.file("holiday.json");
    cal->CommandImportHoliday->click();
    FormImport* import = cal->importDialog();
    ASSERT_NE(import, nullptr);
    ASSERT_EQ(import->ImportList->topLevelItemCount(), 4); // 10-10 is there already
    EXPECT_EQ(stored(), QStringLiteral("2026年10月10日*补班>调休<星期二"));
    import->ImportList->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    static_cast<QComboBox*>(import->ImportList->itemWidget(import->ImportList->topLevelItem(3), 2))
        ->setCurrentIndex(1);
    import->CommandImportOk->click();
    EXPECT_EQ(stored(), QStringLiteral("2026年10月10日*补班>调休<星期二|2026年10月1日~2026年10月2日"
                                       "*国庆节>放假<|2026年10月11日*国庆节>调休<|2026年10月20日*"
                                       "运动会>调休<"));

    // The main window follows at once: a make-up day of the week without its weekday.
    EXPECT_TRUE(w->TomorrowLine->text().startsWith(QStringLiteral("明天：调休，按星期二")));
    EXPECT_TRUE(
        w->TomorrowLine->text().contains(QStringLiteral("2026年10月11日 还没有选择按星期几")));
    EXPECT_FALSE(w->TomorrowLine->text().contains(QStringLiteral("10月20日")));
    cal->MonthView->setCurrentPage(2026, 10);
    EXPECT_EQ(marked(cal->MonthView, QDate(2026, 10, 2)), kHoliday);
    EXPECT_EQ(marked(cal->MonthView, QDate(2026, 10, 11)), kMakeUp);
    EXPECT_EQ(marked(cal->MonthView, QDate(2026, 10, 16)), QColor());
}

} // namespace
} // namespace campanor::test
