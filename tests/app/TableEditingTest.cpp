#include "app/ComposerTestHelpers.h"
#include "common/AsRunLog.h"
#include "fixtures/WaitUntil.h"
#include "table/FormEdit.h"
#include "table/InstructionBoxes.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

using namespace campanor;
using namespace campanor::test;

namespace {

const QString kA = QStringLiteral("08:00:00*早读>每天<线路打开");
const QString kB = QStringLiteral("09:00:00*没有注释>星期一</srv/bell.wav");
const QString kC = QStringLiteral("10:00:00*课间>每天<关机");

} // namespace

class TableEditing : public FormallTest {
  protected:
    std::unique_ptr<Formall> startWith(const QStringList& lines) {
        start();
        dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(u'|' + lines.join(u'|')));
        return start();
    }
    // Selects the row of a line as a click does.
    void select(Formall& w, const QString& line) {
        for (int row = 0; row < w.ListView1->topLevelItemCount(); ++row)
            if (w.rowLine(row) == line) {
                w.ListView1->setCurrentItem(w.ListView1->topLevelItem(row));
                w.ListView1_Click();
                return;
            }
        FAIL() << "no row " << line.toStdString();
    }
};

TEST_F(TableEditing, ARowFillsThePanelAndVS) {
    auto w = startWith({kA, kB});
    select(*w, kB);
    EXPECT_EQ(w->VS, kB);
    EXPECT_TRUE(w->insertPanel->Text14->text().isEmpty());
    EXPECT_EQ(w->insertPanel->Text17->text(), QStringLiteral("星期一"));
    EXPECT_EQ(w->insertPanel->Text18->text(), "09:00:00");
    EXPECT_EQ(w->insertPanel->Text19->text(), "/srv/bell.wav");
    EXPECT_EQ(w->ListView1->topLevelItem(0)->toolTip(2), "/srv/bell.wav");
}

TEST_F(TableEditing, DeleteKeepsTheOthersInOrderAndTheLastLeavesAnEmptyFile) {
    auto w = startWith({kC, kA, kB});
    select(*w, kA);
    prompter.answers = {Prompter::Answer::Yes};
    w->Command2_Click();
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("确认要删除[") + kA + QStringLiteral("]吗?"));
    EXPECT_EQ(tableFile(dir), u'|' + kC + u'|' + kB);
    EXPECT_TRUE(w->VS.isEmpty());
    w->Command2_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("你没有选择要删除的指令!"));

    select(*w, kB);
    w->Command2_Click(); // No
    EXPECT_EQ(w->Text1->text(), "2");
    for (const QString& line : {kB, kC}) {
        select(*w, line);
        prompter.answers = {Prompter::Answer::Yes};
        w->Command2_Click();
    }
    EXPECT_EQ(dir.bytes("DayTimeTable/Default.DTT"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(w->Text1->text(), "0");
}

TEST_F(TableEditing, ClearEmptiesTheCurrentFile) {
    auto w = startWith({kA, kB});
    w->Command4_Click(); // No
    EXPECT_EQ(w->Text1->text(), "2");
    prompter.answers = {Prompter::Answer::Yes};
    w->Command4_Click();
    EXPECT_EQ(dir.bytes("DayTimeTable/Default.DTT"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 0);
}

TEST_F(TableEditing, NewTableAsksBeforeOverwritingAndMakeDefault) {
    auto w = startWith({kA});
    dir.write("DayTimeTable/Old.DTT", TempFolder::quoted(u'|' + kB));
    const QString old = dir.file("DayTimeTable/Old.DTT");
    dialogs.answers = {old, old};
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    w->Command5_Click();
    EXPECT_EQ(dialogs.asked.size(), 2) << "No shows the dialog again";
    EXPECT_EQ(dialogs.asked[0], QStringLiteral("输入要新建的指令表名(*.DTT):|") +
                                    dir.file("DayTimeTable") +
                                    QStringLiteral("|指令表(*.DTT)|*.DTT"));
    EXPECT_EQ(prompter.shown[0].text, old + QStringLiteral("已存在，真的要覆盖它吗？"));
    EXPECT_EQ(dir.bytes("DayTimeTable/Old.DTT"), QByteArray("\"\"\r\n"));
    EXPECT_EQ(w->CurrentTablePath, old);
    EXPECT_EQ(w->SkinLabel2->text(), QStringLiteral("文件:Old.DTT"));
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_TRUE(w->Command7->isEnabled());

    w->Command7_Click();
    EXPECT_FALSE(w->Command7->isEnabled());
    EXPECT_EQ(readRecord(dir.file("DefaultDTT.txt")), old);
    EXPECT_EQ(w->Command7->toolTip(), QStringLiteral("当前默认的指令表是：") + old);
    EXPECT_EQ(prompter.shown.last().text,
              old + QStringLiteral("已被设置为默认的指令表,下次程序启动时它将被调用!"));
    EXPECT_EQ(prompter.shown.last().icon, Prompter::Icon::Information);

    // A name without an extension gets the table's.
    dialogs.answers = {dir.file("DayTimeTable/Fresh")};
    w->Command5_Click();
    EXPECT_EQ(w->CurrentTablePath, dir.file("DayTimeTable/Fresh.DTT"));
    EXPECT_TRUE(dir.exists("DayTimeTable/Fresh.DTT"));
}

TEST_F(TableEditing, OpenRepeatsForAMissingFileAndTracksTheDefault) {
    auto w = startWith({kA});
    dir.write("DayTimeTable/Other.DTT", TempFolder::quoted(u'|' + kB + u'|' + kC));
    dialogs.answers = {dir.file("DayTimeTable/Nope.DTT"), dir.file("DayTimeTable/Other.DTT")};
    w->Command6_Click();
    EXPECT_EQ(prompter.shown[0].text,
              dir.file("DayTimeTable/Nope.DTT") + QStringLiteral("不存在,请重新选择一个!"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_TRUE(w->Command7->isEnabled());

    dialogs.answers = {w->DefaultTablePath};
    w->Command6_Click();
    EXPECT_FALSE(w->Command7->isEnabled());
    EXPECT_EQ(w->Text1->text(), "1");
}

TEST_F(TableEditing, GridLinesFollowClicksNotTheCheckMark) {
    auto w = startWith({kA});
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_TRUE(w->gridLinesShown());
    w->Check1->click();
    EXPECT_FALSE(w->gridLinesShown());
    w->Check1->setChecked(true);
    w->Check1->click();
    EXPECT_TRUE(w->gridLinesShown());
}

TEST_F(TableEditing, EditRoundTripPutsTheChangedLineBack) {
    auto w = startWith({kA, kB});
    select(*w, kA);
    w->Command3_Click();
    FormEdit* dialog = w->editDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("编辑指令"));
    EXPECT_EQ(w->Text1->text(), "2") << "still in the table while edited";
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB);
    EXPECT_FALSE(w->insertPanel->Text18->isEnabled());
    EXPECT_FALSE(w->Command10->isEnabled());
    const QRect screen = dialog->screen()->geometry();
    EXPECT_EQ(dialog->frameGeometry().right(), screen.right());

    // A click on the list does not change VS or the panel meanwhile.
    w->ListView1->setCurrentItem(w->ListView1->topLevelItem(0));
    w->ListView1_Click();
    EXPECT_EQ(w->VS, kA);

    EXPECT_EQ(dialog->boxes()->Text14->text(), QStringLiteral("早读"));
    dialog->boxes()->Text14->setText(QStringLiteral("晨读"));
    dialog->boxes()->Text18->setText(QStringLiteral("8:00:00"));
    dialog->Command1_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("时间是00:00:00型的，要八位长度！"));
    EXPECT_TRUE(dialog->isVisible());
    dialog->boxes()->Text18->setText(QStringLiteral("08:00:00"));
    dialog->Command1_Click();
    EXPECT_FALSE(dialog->isVisible());
    const QString edited = QStringLiteral("08:00:00*晨读>每天<线路打开");
    EXPECT_EQ(tableFile(dir), u'|' + kB + u'|' + edited);
    EXPECT_EQ(w->VS, edited);
    EXPECT_TRUE(w->insertPanel->Text18->isEnabled());
    EXPECT_TRUE(w->Command10->isEnabled());
}

TEST_F(TableEditing, EditingIntoAnotherInstructionReopensWithTheOriginal) {
    auto w = startWith({kA, kB});
    select(*w, kA);
    w->Command3_Click();
    FormEdit* dialog = w->editDialog();
    dialog->boxes()->Text18->setText(QStringLiteral("09:00:00"));
    dialog->boxes()->Text17->setText(QStringLiteral("星期一"));
    dialog->Command1_Click();
    EXPECT_EQ(prompter.shown.value(0).text, kDuplicateMessage);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->boxes()->Text18->text(), "08:00:00");
    EXPECT_EQ(dialog->boxes()->Text17->text(), QStringLiteral("每天"));
    EXPECT_EQ(w->Text1->text(), "2");

    // Closing without the button changes nothing.
    dialog->close();
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB);
    EXPECT_TRUE(w->Command10->isEnabled());
    EXPECT_EQ(w->Text1->text(), "2");
}

TEST_F(TableEditing, DeleteAndClearWaitForAnOpenEdit) {
    auto w = startWith({kA, kB, kC});
    select(*w, kA);
    w->Command3_Click();
    select(*w, kC);
    EXPECT_EQ(w->VS, kA) << "the list does not select while the dialog is open";
    w->VS = kC;
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::Yes};
    w->Command2_Click();
    w->Command4_Click();
    ASSERT_EQ(prompter.shown.size(), 2) << "refused before any question";
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("正在编辑指令，请先按“确 定”或关闭编辑窗口，再删除。"));
    EXPECT_EQ(prompter.shown[1].text,
              QStringLiteral("正在编辑指令，请先按“确 定”或关闭编辑窗口，再清空。"));
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB + u'|' + kC);
    prompter.answers = {Prompter::Answer::Yes};
    w->close();
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB + u'|' + kC);

    // Ended without any close handler (the exit command, a power action):
    // the instruction was never out of the file.
    w = startWith({kA, kB});
    select(*w, kB);
    w->Command3_Click();
    w.reset();
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB);
}

TEST_F(TableEditing, OnlyALineOfTheCurrentTableIsEdited) {
    auto w = startWith({kA, kB});
    const QString other = dir.file("DayTimeTable/Other.DTT");
    dir.write("DayTimeTable/Other.DTT", TempFolder::quoted(u'|' + kC));
    select(*w, kA);
    dialogs.answers = {other};
    w->Command6_Click();
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("你没有选择要编辑的指令!"));
    EXPECT_FALSE(w->editDialog());
    select(*w, kC);
    w->OpenTableByInstruction(w->DefaultTablePath); // a scheduled "打开表"
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.value(1).text, QStringLiteral("你没有选择要编辑的指令!"));
    EXPECT_EQ(readRecord(other), u'|' + kC);
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB);

    // A line written by hand that is not an instruction: the edit closed
    // unfinished leaves the file as it was, and a delete finds the line.
    const QString odd = dir.file("DayTimeTable/Odd.DTT");
    dir.write("DayTimeTable/Odd.DTT", TempFolder::quoted(u'|' + kB + QStringLiteral("|铃声")));
    w->OpenTableByInstruction(odd);
    const auto rows = w->ListView1->findItems(QStringLiteral("铃声"), Qt::MatchExactly, 4);
    ASSERT_EQ(rows.size(), 1);
    w->ListView1->setCurrentItem(rows[0]);
    w->ListView1_Click();
    w->Command3_Click();
    ASSERT_TRUE(w->editDialog()->isVisible());
    w->editDialog()->close();
    EXPECT_EQ(readRecord(odd), u'|' + kB + QStringLiteral("|铃声"));
    prompter.answers = {Prompter::Answer::Yes};
    w->Command2_Click();
    EXPECT_EQ(readRecord(odd), u'|' + kB);

    // A row marked "Error!" meanwhile is the marked line now.
    const QString bell =
        QStringLiteral("08:00:01*早读>每天<搜索文件夹-前置随机") + dir.file("gone");
    dir.write("DayTimeTable/Odd.DTT", TempFolder::quoted(u'|' + bell));
    w->OpenTableByInstruction(odd);
    select(*w, bell);
    w->Timer1->stop();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    // The folder is looked at on another thread.
    ASSERT_TRUE(waitUntil([&] { return !w->folderWalkPending(); }));
    const QString marked =
        QStringLiteral("08:00:01*Error!早读>每天<搜索文件夹-前置随机") + dir.file("gone");
    ASSERT_EQ(readRecord(odd), u'|' + marked);
    EXPECT_EQ(w->VS, marked);

    // A table that could not be read whole is not edited at all.
    const QByteArray lossy = "\"|07:00:00*\x81\x20>\xc3\xbf\xcc\xec<a.mp3\"\r\n";
    dir.write("DayTimeTable/Odd.DTT", lossy);
    w->OpenTableByInstruction(odd);
    w->ListView1->setCurrentItem(w->ListView1->topLevelItem(0));
    w->ListView1_Click();
    prompter.shown.clear();
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.value(0).text,
              QStringLiteral("指令表文件没有完整读出，为了不损坏其中的内容，不能修改它。"));
    EXPECT_FALSE(w->editDialog()->isVisible());
    EXPECT_EQ(w->Text1->text(), "1");
    EXPECT_EQ(dir.bytes("DayTimeTable/Odd.DTT"), lossy);
}

TEST_F(TableEditing, AnInstructionRunsWhileItIsEdited) {
    start();
    const QString bell = dir.file("bell.wav");
    ASSERT_TRUE(writeTone(bell, 0.4));
    const QString ring = QStringLiteral("08:00:01*没有注释>每天<") + bell;
    const QString gone =
        QStringLiteral("08:00:02*早操>每天<搜索文件夹-前置随机") + dir.file("gone");
    auto w = startWith({ring, gone});
    w->Timer1->stop();
    select(*w, ring);
    w->Command3_Click();
    FormEdit* dialog = w->editDialog();
    EXPECT_TRUE(w->NextInstruction->text().contains("08:00:01"))
        << w->NextInstruction->text().toStdString();
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->DueRingPath, bell);
    EXPECT_EQ(w->MediaPlayer1->playState(), MediaPlayer::Playing);
    dialog->close();
    EXPECT_EQ(tableFile(dir), u'|' + ring + u'|' + gone);

    // Marked "Error!" at its second while edited: the edit replaces the marked line.
    select(*w, gone);
    w->Command3_Click();
    dialog->boxes()->Text14->setText(QStringLiteral("晨操"));
    clock.advanceMs(1000);
    w->Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return !w->folderWalkPending(); }));
    ASSERT_TRUE(tableFile(dir).contains(QStringLiteral("Error!早操")));
    dialog->Command1_Click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(tableFile(dir), u'|' + ring +
                                  QStringLiteral("|08:00:02*晨操>每天<搜索文件夹-前置随机") +
                                  dir.file("gone"));
}

TEST_F(TableEditing, ACommittedEditIsCheckedLikeAnAddition) {
    auto w = startWith({kA, kB});
    select(*w, kA);
    w->Command3_Click();
    // The composer cannot take the time and day rule of the line being edited.
    chooseTime(*w, 8, 0, 0);
    prompter.answers = {Prompter::Answer::Yes};
    w->composer->Command1_Click();
    EXPECT_EQ(prompter.shown.value(0).text, kDuplicateMessage);
    w->editDialog()->close();
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB);

    // A table written by hand past 300 lines: the edited line would be the
    // 301st and never run.
    QString text;
    for (int i = 0; i < 301; ++i)
        text += QStringLiteral("|%1:%2:00*没有注释>每天<关机")
                    .arg(i / 60, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(text));
    w->LoadInstructionTable();
    select(*w, QStringLiteral("00:00:00*没有注释>每天<关机"));
    w->Command3_Click();
    FormEdit* dialog = w->editDialog();
    dialog->boxes()->Text14->setText(QStringLiteral("早"));
    dialog->Command1_Click();
    EXPECT_EQ(prompter.shown.value(1).text, kCapacityMessage);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->boxes()->Text14->text(), QStringLiteral("早"));
    EXPECT_EQ(tableFile(dir), text);
    dialog->close();

    // At 300 lines an edit replaces its line.
    text = text.section(u'|', 0, 300);
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(text));
    w->LoadInstructionTable();
    select(*w, QStringLiteral("00:00:00*没有注释>每天<关机"));
    w->Command3_Click();
    dialog->boxes()->Text14->setText(QStringLiteral("早"));
    dialog->Command1_Click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(w->Text1->text(), "300");
    EXPECT_TRUE(tableFile(dir).endsWith(QStringLiteral("|00:00:00*早>每天<关机")));
}

TEST_F(TableEditing, AnEditFinishedAfterAnotherTableWasOpenedMovesTheInstruction) {
    auto w = startWith({kA, kB});
    const QString other = dir.file("DayTimeTable/Other.DTT");
    dir.write("DayTimeTable/Other.DTT", TempFolder::quoted(u'|' + kC));
    select(*w, kA);
    w->Command3_Click();
    // A scheduled "打开表" comes while the dialog is open.
    w->OpenTableByInstruction(other);
    FormEdit* dialog = w->editDialog();
    dialog->boxes()->Text14->setText(QStringLiteral("晨读"));
    dialog->Command1_Click();
    const QString edited = QStringLiteral("08:00:00*晨读>每天<线路打开");
    EXPECT_EQ(readRecord(other), u'|' + kC + u'|' + edited);
    EXPECT_EQ(tableFile(dir), u'|' + kB)
        << "the old line must not go on running in the first table";
}

TEST_F(TableEditing, FailedWritesAreSaidAndChangeNothing) {
    auto w = startWith({kA});
    // The longest name whose replacement cannot be made beside it: the table
    // reads, every write fails (whoever runs the test).
    const QString name = QString(250, u'x') + QStringLiteral(".DTT");
    const QString path = dir.file("DayTimeTable/" + name);
    dir.write("DayTimeTable/" + name, TempFolder::quoted(u'|' + kA + u'|' + kB));
    AsRunLog::open(dir.path());
    w->OpenTableByInstruction(path);
    select(*w, kA);
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::Ok, Prompter::Answer::Yes};
    w->Command2_Click();
    EXPECT_EQ(prompter.shown.value(1).text,
              QStringLiteral("指令表文件无法写入，这条指令没有删除！"));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(w->VS, kA) << "still chosen";
    w->Command4_Click();
    EXPECT_EQ(prompter.shown.value(3).text, QStringLiteral("指令表文件无法写入，指令表没有清空！"));
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(readRecord(path), u'|' + kA + u'|' + kB);

    const QString defaultTable = w->DefaultTablePath;
    const QString tip = w->Command7->toolTip();
    QFile::remove(dir.file("DefaultDTT.txt"));
    dir.write("DefaultDTT.txt/blocker", "x"); // a folder where the file belongs
    w->Command7_Click();
    EXPECT_EQ(prompter.shown.value(4).text, QStringLiteral("DefaultDTT.txt无法写入，") + path +
                                                QStringLiteral("没有被设置为默认的指令表！"));
    EXPECT_EQ(prompter.shown.value(4).icon, Prompter::Icon::Critical);
    EXPECT_EQ(w->DefaultTablePath, defaultTable);
    EXPECT_TRUE(w->Command7->isEnabled());
    EXPECT_EQ(w->Command7->toolTip(), tip);

    QFile log(AsRunLog::fileFor(QDate::currentDate()));
    AsRunLog::close();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(logged.contains("指令表：删除失败，" + path + " 没有写入：" + kA));
    EXPECT_TRUE(logged.contains("指令表：清空失败，" + path + " 没有写入"));
    EXPECT_TRUE(logged.contains("指令表：设为默认失败"));
    EXPECT_FALSE(logged.contains("指令表：删除 ") || logged.contains("指令表：清空 ") ||
                 logged.contains("指令表：设为默认 /"));
}

TEST_F(TableEditing, EditWithoutSelectionIsRefused) {
    auto w = startWith({kA});
    w->Command3_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("你没有选择要编辑的指令!"));
    EXPECT_FALSE(w->editDialog());
}

TEST_F(TableEditing, InsertFromARow) {
    auto w = startWith({kA, kB});
    select(*w, kA);
    w->Command10_Click();
    EXPECT_EQ(prompter.shown.value(0).text, kDuplicateMessage) << "unchanged row";

    w->insertPanel->Text18->setText(QStringLiteral("08:00:05"));
    w->Command10_Click(); // Cancel
    const QString real = QStringLiteral("|08:00:05*早读>每天<线路打开");
    EXPECT_EQ(prompter.shown.value(1).text,
              QStringLiteral("真的要插入指令  [") + real + QStringLiteral("]  吗？"));
    EXPECT_EQ(prompter.shown.value(1).buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(prompter.shown.value(1).icon, Prompter::Icon::None);
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_EQ(w->insertPanel->Text14->text(), QStringLiteral("早读"));

    prompter.answers = {Prompter::Answer::Ok};
    w->Command10_Click();
    EXPECT_EQ(tableFile(dir), u'|' + kA + u'|' + kB + real);
    EXPECT_TRUE(w->insertPanel->Text14->text().isEmpty());
    EXPECT_EQ(w->VS, real.mid(1));

    w->insertPanel->Text17->setText(QStringLiteral("每周一"));
    w->insertPanel->Text18->setText(QStringLiteral("11:00:00"));
    w->Command10_Click();
    EXPECT_TRUE(prompter.shown.last().text.startsWith(QStringLiteral("周期只能是")));
    w->insertPanel->Text17->setText(QStringLiteral("每天"));
    w->insertPanel->Text14->setText(QStringLiteral("a*b"));
    w->Command10_Click();
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("注释中不能包含[*]这个字符！"));
    EXPECT_EQ(w->Text1->text(), "3");
}

TEST_F(TableEditing, InsertChecksTheCapacityAfterTheTime) {
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("%1:%2:00*没有注释>每天<关机")
                     .arg(i / 60, 2, 10, QChar('0'))
                     .arg(i % 60, 2, 10, QChar('0'));
    auto w = startWith(lines);
    w->insertPanel->Text18->setText(QStringLiteral("23:00"));
    w->insertPanel->Text17->setText(QStringLiteral("每天"));
    w->insertPanel->Text19->setText(QStringLiteral("关机"));
    w->Command10_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("时间是00:00:00型的，要八位长度！"));
    w->insertPanel->Text18->setText(QStringLiteral("23:00:00"));
    w->Command10_Click();
    EXPECT_EQ(prompter.shown.value(1).text, kCapacityMessage);
    EXPECT_EQ(w->Text1->text(), "300");
}

TEST_F(TableEditing, TheWindowFitsTheSmallestSupportedScreen) {
    auto w = startWith({kA});
    const QSize smallest = w->minimumSizeHint();
    EXPECT_LE(smallest.width(), 1280);
    EXPECT_LE(smallest.height(), 1024 - 60) << "room for a panel and the title bar";
}
