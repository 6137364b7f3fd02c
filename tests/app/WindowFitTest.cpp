#include "app/FormallFixture.h"
#include "table/ComposerPanel.h"
#include "table/InstructionBoxes.h"
#include "table/InstructionTable.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace campanor;
using namespace campanor::test;

namespace {

class WindowFitTest : public FormallTest {
  protected:
    // The widest the window may be on a 1280x1024 screen, and the widest its
    // content may insist on before it scrolls rather than fit.
    static void expectFits(Formall& w, const QString& when) {
        QApplication::processEvents();
        EXPECT_LE(w.width(), 1280) << when.toStdString();
        EXPECT_LE(w.minimumSizeHint().width(), 1024) << when.toStdString();
        EXPECT_LE(w.minimumSizeHint().height(), 768) << when.toStdString();
        auto* scroll = w.findChild<QScrollArea*>(QStringLiteral("CentralScroll"));
        ASSERT_NE(scroll, nullptr);
        // The clock stays in the menu bar's corner, inside the window.
        EXPECT_TRUE(w.DisplayTimeLabel->isVisible()) << when.toStdString();
        EXPECT_TRUE(w.rect().contains(w.DisplayTimeLabel->geometry()))
            << when.toStdString() << " clock at " << w.DisplayTimeLabel->geometry().x() << "+"
            << w.DisplayTimeLabel->width() << " in " << w.width();
        // Nothing is cut off or scrolled at the window's own size.
        EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width())
            << when.toStdString();
    }
};

double luminance(QRgb c) {
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast a control shows on screen: its most common colour (the
// background) against the pixel that stands out most from it (the text or
// the mark), in the part `within` of its render.
double shownContrast(QWidget* control, QRect within = {}) {
    QImage image = control->grab().toImage();
    if (within.isValid())
        image = image.copy(within);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double most = 1.0;
    for (const auto& [colour, count] : counts)
        most = std::max(most, contrast(colour, background));
    return most;
}

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
    // Tomorrow's line can list a week of make-up days or a long holiday name.
    w->TomorrowLine->setText(QStringLiteral("明天：放假（") + QString(300, u'假') + u'）');
    w->TomorrowLine->show();
    expectFits(*w, "a long line about tomorrow");
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
    const QString far = QStringLiteral("/srv/") + QString(300, u'远') + QStringLiteral("/missing");
    writeTable({QStringLiteral("08:00:01*早操>每天<执行程序/bin/true"),
                QStringLiteral("08:00:02*没有注释>每天<执行程序/bin/missing"),
                QStringLiteral("08:00:03*没有注释>每天<执行程序") + far});
    auto w = start();
    w->show();
    EXPECT_TRUE(w->LastInstruction->text().isEmpty());

    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->LastInstruction->text(),
              QStringLiteral("上次执行：08:00:01  完成  早操  执行程序/bin/true"));
    const QColor normal = w->LastInstruction->palette().color(QPalette::WindowText);
    const QTreeWidgetItem* row = w->ListView1->topLevelItem(0);
    EXPECT_NE(row->background(1).style(), Qt::NoBrush);

    processes.refusal = QStringLiteral("找不到程序");
    clock.advanceMs(1000);
    w->Timer1_Timer();
    EXPECT_EQ(w->LastInstruction->text(),
              QStringLiteral("上次执行：08:00:02  失败：找不到程序  执行程序/bin/missing"));
    w->LastInstruction->ensurePolished();
    const QColor failed = w->LastInstruction->palette().color(QPalette::WindowText);
    EXPECT_EQ(failed, QColor(0xb0, 0, 0));
    EXPECT_NE(failed, normal);
    // Only the row that ran last stands out.
    EXPECT_EQ(w->ListView1->topLevelItem(0)->background(1).style(), Qt::NoBrush);
    EXPECT_NE(w->ListView1->topLevelItem(1)->background(1).style(), Qt::NoBrush);

    // A long path is cut, never the outcome.
    clock.advanceMs(1000);
    w->Timer1_Timer();
    QApplication::processEvents();
    const QString shown = w->LastInstruction->shownText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("上次执行：08:00:03  失败：找不到程序")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
}

TEST_F(WindowFitTest, DisabledButtonsAndUncheckedOptionsStayReadableInEverySkin) {
    auto w = start();
    w->show();
    ASSERT_FALSE(w->Command7->isEnabled()) << "默认 is disabled on the default table";
    QRadioButton* unchecked = w->composer->Option5;
    ASSERT_FALSE(unchecked->isChecked());
    const QString assets = qEnvironmentVariable("CAMPANOR_ASSETS") + QStringLiteral("/skin/");
    const QStringList skins = QDir(assets).entryList({QStringLiteral("*.skn")}, QDir::Files);
    ASSERT_EQ(skins.size(), 12);
    QDir().mkpath(dir.file("skin"));
    for (const QString& skin : skins) {
        QFile::copy(assets + skin, dir.file("skin/" + skin));
        w->ChangeSkin(skin);
        QApplication::processEvents();
        // The caption, inside the button's frame.
        EXPECT_GE(shownContrast(w->Command7, w->Command7->rect().adjusted(3, 3, -3, -3)), 3.0)
            << skin.toStdString();
        // The round mark before the caption.
        const int side = unchecked->height();
        EXPECT_GE(shownContrast(unchecked, QRect(0, 0, side, side)), 3.0) << skin.toStdString();
    }
}
