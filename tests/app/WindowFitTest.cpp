#include "app/FormallFixture.h"
#include "table/ComposerPanel.h"
#include "table/InstructionBoxes.h"
#include "table/InstructionTable.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

class WindowFitTest : public FormallTest {
  protected:
    void writeTable(const QStringList& lines) {
        writeTableFile(dir.file("DayTimeTable/Default.DTT"), u'|' + lines.join(u'|'));
    }
    // The widest the window may be on a 1280x1024 screen, and the widest its
    // content may insist on before it scrolls rather than fit.
    static void expectFits(Formall& w, const QString& when) {
        QApplication::processEvents();
        EXPECT_LE(w.width(), 1280) << when.toStdString();
        EXPECT_LE(w.minimumSizeHint().width(), 1024) << when.toStdString();
        EXPECT_LE(w.minimumSizeHint().height(), 768) << when.toStdString();
        auto* scroll = w.findChild<QScrollArea*>(QStringLiteral("CentralScroll"));
        ASSERT_NE(scroll, nullptr);
        // Nothing is cut off or scrolled at the window's own size.
        EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width())
            << when.toStdString();
    }
};

} // namespace

TEST_F(WindowFitTest, LongPathsAndEverySkinKeepTheWindowOnTheScreen) {
    start();
    const QString path =
        QStringLiteral("/srv/") + QString(500, u'声') + QStringLiteral("/早操.PLF");
    const QString line = QStringLiteral("08:30:00*早操>每天<播音开-静态") + path;
    writeTable({line});
    auto w = start();
        w->show();
    const int width = w->width();
    expectFits(*w, "a long next instruction");

    // Elided in the middle: both ends stay, the whole text is in the tooltip.
    const QString whole = QStringLiteral("下一条指令：08:30:00  早操  播音开-静态") + path;
    EXPECT_EQ(w->NextInstruction->text(), whole);
    EXPECT_EQ(w->NextInstruction->toolTip(), whole);
    const QString shown = w->NextInstruction->shownText();
    EXPECT_LT(shown.size(), whole.size());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("下一条指令：08:30"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/早操.PLF"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();

    // The row in the insert panel's boxes, the path in the composer's box.
    w->insertPanel->fill(line);
    w->composer->parameterBox(QStringLiteral("Text10"))->setText(path);
    expectFits(*w, "long boxes");
    EXPECT_EQ(w->width(), width);

    const QStringList skins =
        QDir(qEnvironmentVariable("CAMPANOR_ASSETS") + QStringLiteral("/skin"))
            .entryList({QStringLiteral("*.skn")}, QDir::Files);
    ASSERT_EQ(skins.size(), 12);
    QDir().mkpath(dir.file("skin"));
    for (const QString& skin : skins) {
        QFile::copy(qEnvironmentVariable("CAMPANOR_ASSETS") + QStringLiteral("/skin/") + skin,
                    dir.file("skin/" + skin));
        w->ChangeSkin(skin);
        expectFits(*w, skin);
        EXPECT_EQ(w->width(), width) << skin.toStdString();
    }
}

TEST_F(WindowFitTest, LastCarriedOutLineSaysTheOutcomeAndMarksAFailureRed) {
    start();
    writeTable({QStringLiteral("08:00:01*早操>每天<执行程序/bin/true"),
                QStringLiteral("08:00:02*没有注释>每天<执行程序/bin/missing")});
    auto w = start();
    w->show();
    EXPECT_TRUE(w->LastInstruction->text().isEmpty());

    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->LastInstruction->text(),
              QStringLiteral("上次执行：08:00:01  早操  执行程序/bin/true  完成"));
    const QColor normal = w->LastInstruction->palette().color(QPalette::WindowText);
    const QTreeWidgetItem* row = w->ListView1->topLevelItem(0);
    EXPECT_NE(row->background(1).style(), Qt::NoBrush);

    processes.refusal = QStringLiteral("找不到程序");
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->LastInstruction->text(),
              QStringLiteral("上次执行：08:00:02  执行程序/bin/missing  失败：找不到程序"));
    w->LastInstruction->ensurePolished();
    const QColor failed = w->LastInstruction->palette().color(QPalette::WindowText);
    EXPECT_EQ(failed, QColor(0xc0, 0, 0));
    EXPECT_NE(failed, normal);
    // Only the row that ran last stands out.
    EXPECT_EQ(w->ListView1->topLevelItem(0)->background(1).style(), Qt::NoBrush);
    EXPECT_NE(w->ListView1->topLevelItem(1)->background(1).style(), Qt::NoBrush);
}
