#include "app/ComposerTestHelpers.h"
#include "dialogs/FormSelectDirctory.h"

#include <QPushButton>
#include <QTest>

using namespace campanor;
using namespace campanor::test;

using Composer = FormallTest;

TEST_F(Composer, AddsAWeeklyBackListThroughThePanelAndResets) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    dir.write("PlayListFile/MORNING.PLF", "\"\"\r\n");
    const QString playlist = dir.file("PlayListFile/MORNING.PLF");
    dialogs.answers = {playlist};
    chooseTime(*w, 7, 30, 0);
    c.Option4->click();
    EXPECT_TRUE(c.Combo5->isEnabled());
    EXPECT_FALSE(c.Combo6->isEnabled());
    c.Combo5->setCurrentIndex(0);
    c.Text4->setText(QStringLiteral("早操"));
    c.option("Option14")->click();
    EXPECT_EQ(dialogs.asked.value(0), QStringLiteral("请选择播放列表文件:|") +
                                          dir.file("PlayListFile") +
                                          QStringLiteral("|曲目表 (*.PLF)|*.PLF"));
    EXPECT_EQ(c.parameterBox("Text7")->text(), playlist);
    EXPECT_EQ(c.parameterBox("Text7")->toolTip(), playlist);

    prompter.answers = {Prompter::Answer::Yes};
    QTest::mouseClick(c.Command1, Qt::LeftButton);
    const QString line = QStringLiteral("07:30:00*早操>星期一<播音开-静态") + playlist;
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("你要增加[|") + line + QStringLiteral("]吗?"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(tableFile(dir), u'|' + line);
    EXPECT_EQ(w->VS, line);
    EXPECT_EQ(w->Text1->text(), "1");

    EXPECT_TRUE(c.Text4->text().isEmpty());
    EXPECT_TRUE(c.parameterBox("Text7")->text().isEmpty());
    EXPECT_TRUE(c.option("Option1")->isChecked());
    EXPECT_TRUE(c.Option4->isChecked()) << "the day rule keeps its state";
    EXPECT_EQ(c.PlaylistParameter, playlist);
}

TEST_F(Composer, NoAtTheConfirmationChangesNothingButResetsThePanel) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    dialogs.answers = {QStringLiteral("/opt/tool")};
    chooseTime(*w, 8, 0, 0);
    c.Text4->setText(QStringLiteral("x"));
    c.option("Option21")->click();
    EXPECT_EQ(dialogs.asked.value(0),
              QStringLiteral("请选择要执行的可执行文件名：(*.com,*.exe):|/|所有的可执行文件|*"));
    prompter.answers = {Prompter::Answer::No};
    c.Command1_Click();
    EXPECT_EQ(tableFile(dir), QString());
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_TRUE(c.Text4->text().isEmpty());
    EXPECT_TRUE(c.parameterBox("Text6")->text().isEmpty());
    EXPECT_TRUE(c.option("Option1")->isChecked());
}

TEST_F(Composer, DuplicateTimeAndRuleIsRefusedOtherRuleAccepted) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    chooseTime(*w, 8, 0, 0);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    prompter.shown.clear();
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, kDuplicateMessage);
    EXPECT_EQ(w->Text1->text(), "1");

    c.Option4->click();
    c.Combo5->setCurrentIndex(0);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    EXPECT_EQ(w->Text1->text(), "2");
    EXPECT_TRUE(
        tableFile(dir).endsWith(QStringLiteral("|08:00:00*没有注释>星期一<") + w->DefaultRingPath));
}

TEST_F(Composer, TheCapacityIsCheckedBeforeAnythingButTheTime) {
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("|%1:%2:00*没有注释>每天<关机")
                    .arg(i / 60, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    start();
    dir.write("DayTimeTable/Default.DTT", TempFolder::quoted(text));
    auto w = start();
    ASSERT_EQ(w->Text1->text(), "300");
    w->composer->Text4->setText(QStringLiteral("a|b"));
    w->composer->Command1_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("你没有选择要定义的时间!"));
    chooseTime(*w, 23, 0, 0);
    w->composer->Command1_Click();
    EXPECT_EQ(prompter.shown.value(1).text, kCapacityMessage);
    EXPECT_EQ(tableFile(dir), text);
}

TEST_F(Composer, CancelledDialogsFallBackToTheDefaultRing) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    c.option("Option14")->click();
    EXPECT_TRUE(c.parameterBox("Text7")->text().isEmpty());
    EXPECT_TRUE(c.option("Option1")->isChecked());

    // A name no table can hold is refused like a cancel.
    dialogs.answers = {dir.file("a|b.PLF")};
    c.option("Option8")->click();
    EXPECT_TRUE(prompter.shown.value(0).text.contains(QStringLiteral("[|]")));
    EXPECT_TRUE(c.option("Option1")->isChecked());
    EXPECT_TRUE(c.PlaylistParameter.isEmpty());
}

TEST_F(Composer, EveryPressOnChosenRingOpensTheSoundDialog) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    QRadioButton* option2 = c.option("Option2");
    // Cancelled while not selected before: the built-in ring, and the default option.
    QTest::mouseClick(option2, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.ChosenRingPath, w->BuiltInRingPath);
    EXPECT_TRUE(c.option("Option1")->isChecked());

    dialogs.answers = {QStringLiteral("/srv/ding.ogg")};
    QTest::mouseClick(option2, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.ChosenRingPath, "/srv/ding.ogg");
    EXPECT_TRUE(option2->isChecked());
    // Pressed again while selected, then cancelled: everything stays.
    QTest::mouseClick(option2, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.asked.size(), 3);
    EXPECT_EQ(c.ChosenRingPath, "/srv/ding.ogg");
    EXPECT_TRUE(option2->isChecked());
    EXPECT_TRUE(dialogs.asked[0].startsWith(QStringLiteral("请选择内部铃声：|") + dir.path()));

    chooseTime(*w, 6, 50, 0);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    EXPECT_EQ(tableFile(dir), QStringLiteral("|06:50:00*没有注释>每天</srv/ding.ogg"));

    // A click from the keyboard or the arrow keys is a press too.
    c.option("Option1")->setChecked(true);
    option2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.asked.size(), 4);
    EXPECT_TRUE(c.option("Option1")->isChecked()) << "cancelled: back to the default ring";
}

TEST_F(Composer, TheFolderPickerFillsTheCheckedSearchOption) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    c.option("Option9")->click();
    EXPECT_TRUE(c.setSearchFolderParameter(QStringLiteral("/srv/Music")));
    EXPECT_EQ(c.parameterBox("Text15")->text(), "/srv/Music");
    EXPECT_TRUE(c.parameterBox("Text11")->text().isEmpty());
    EXPECT_FALSE(c.setSearchFolderParameter(QStringLiteral("/srv/a\"b")));
    EXPECT_EQ(c.SearchPath, "/srv/Music");

    chooseTime(*w, 10, 0, 0);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    EXPECT_EQ(tableFile(dir),
              QStringLiteral("|10:00:00*没有注释>每天<搜索文件夹-前置排序/srv/Music"));
}

TEST_F(Composer, TheYearMustHaveFourCharactersAndCombosOnlyTheirItems) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    for (QComboBox* combo : {c.Combo5, c.Combo6, c.Combo7, c.Combo8, c.Combo9, c.Combo10})
        EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(c.Combo5->count(), 7);
    EXPECT_EQ(c.Combo10->itemText(30), "31");
    chooseTime(*w, 8, 0, 0);
    c.Option7->click();
    c.Text5->setText(QStringLiteral("26"));
    c.Command1_Click();
    EXPECT_EQ(prompter.shown.value(0).text, QStringLiteral("年份要为四位数,如2003"));
    EXPECT_TRUE(c.Text5->text().isEmpty());
    c.Text5->setText(QStringLiteral("2027"));
    c.Combo9->setCurrentIndex(1);
    c.Combo10->setCurrentIndex(30);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    EXPECT_TRUE(tableFile(dir).contains(QStringLiteral(">2027年2月31日<")));
}

TEST_F(Composer, ASearchOptionStoresTheFolderItsBoxShowsAndNeedsOne) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    dir.write("A/a.mp3", "x");
    dir.write("B/b.mp3", "x");
    const auto pick = [&](const char* option, const QString& folder) {
        c.option(QLatin1String(option))->click();
        ASSERT_NE(w->folderPicker(), nullptr);
        ASSERT_TRUE(w->folderPicker()->setDir1Path(folder));
        w->folderPicker()->Command1->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    pick("Option37", dir.file("A"));
    pick("Option9", dir.file("B"));
    ASSERT_EQ(c.SearchPath, dir.file("B"));

    // Back on 后置排序, the picker closed by its title bar: its box still shows A.
    c.option("Option37")->click();
    w->folderPicker()->close();
    chooseTime(*w, 9, 0, 0);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    EXPECT_EQ(tableFile(dir),
              QStringLiteral("|09:00:00*没有注释>每天<搜索文件夹-后置排序") + dir.file("A"));

    // After the add every box is empty: a picker closed by its title bar
    // leaves nothing to search, whatever an earlier add chose.
    c.option("Option9")->click();
    w->folderPicker()->close();
    chooseTime(*w, 9, 0, 1);
    prompter.shown.clear();
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("请先选择要搜索的文件夹！"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(w->Text1->text(), "1");
    EXPECT_TRUE(c.option("Option9")->isChecked()) << "the refused inputs stay as they were";
}

TEST_F(Composer, SeveralWeekdaysAreAddedInOneStepOrNotAtAll) {
    auto w = start();
    ComposerPanel& c = *w->composer;
    w->show();
    chooseTime(*w, 7, 50, 0);
    // A click on the disabled quick choice selects the 星期 option first.
    ASSERT_FALSE(c.Workdays->isEnabled());
    QTest::mouseClick(c.Workdays, Qt::LeftButton);
    ASSERT_TRUE(c.Option4->isChecked());
    ASSERT_TRUE(c.Workdays->isEnabled());
    QTest::mouseClick(c.Workdays, Qt::LeftButton);
    prompter.answers = {Prompter::Answer::Yes};
    c.Command1_Click();
    QStringList week;
    for (const char* day : {"一", "二", "三", "四", "五"})
        week << QStringLiteral("|07:50:00*没有注释>星期") + QString::fromUtf8(day) + u'<' +
                    w->DefaultRingPath;
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("你要增加以下5条指令吗?\n[") +
                                          week.join(QStringLiteral("]\n[")) + u']');
    EXPECT_EQ(tableFile(dir), week.join(QString()));
    EXPECT_EQ(w->Text1->text(), "5");

    // One day of the seven is there already: none of the seven is added.
    chooseTime(*w, 7, 50, 0);
    c.WholeWeek->click();
    prompter.shown.clear();
    c.Command1_Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text,
              kDuplicateMessage + u'\n' + week[0].mid(1)); // Monday is the first found
    EXPECT_EQ(tableFile(dir), week.join(QString()));

    // Seven lines would pass the limit of 300 by one: none is added.
    QString full;
    for (int i = 0; i < 294; ++i)
        full += QStringLiteral("|%1:%2:00*没有注释>每天<关机")
                    .arg(i / 60 + 10, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    writeTableFile(dir.file("DayTimeTable/Default.DTT"), full);
    w->LoadInstructionTable();
    chooseTime(*w, 6, 0, 0);
    c.WholeWeek->click();
    prompter.shown.clear();
    c.Command1_Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, kCapacityMessage);
    EXPECT_EQ(tableFile(dir), full);
}
