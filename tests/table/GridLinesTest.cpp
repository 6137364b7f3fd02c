#include "table/GridLines.h"

#include <QImage>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace campanor;

namespace {

// Empty cells on a white ground, so a pixel is either ground or line.
struct Grid {
    QTreeWidget tree;
    GridLines* lines = new GridLines(&tree);

    Grid() {
        QPalette palette = tree.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        tree.setPalette(palette);
        tree.setColumnCount(2);
        tree.setRootIsDecorated(false);
        tree.setItemDelegate(lines);
        for (int i = 0; i < 3; ++i)
            tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), QString()}));
        tree.resize(240, 160);
    }

    QImage picture() { return tree.viewport()->grab().toImage(); }
    QRect cell(int row, int column) { return tree.visualRect(tree.model()->index(row, column)); }
};

bool isGround(QRgb pixel) {
    return pixel == qRgb(255, 255, 255);
}

} // namespace

TEST(GridLines, EachCellHasALineOnItsBottomAndRightEdgeOnly) {
    Grid grid;
    const QImage picture = grid.picture();
    const QRect cell = grid.cell(1, 0);
    ASSERT_TRUE(cell.isValid());
    const QPoint middle = cell.center();
    // A faint line: darker than the ground, far from black.
    const QRgb bottom = picture.pixel(middle.x(), cell.bottom());
    EXPECT_FALSE(isGround(bottom));
    EXPECT_GT(qGray(bottom), 128);
    EXPECT_FALSE(isGround(picture.pixel(cell.right(), middle.y())));
    // Its whole width and height, and nothing inside the cell.
    EXPECT_FALSE(isGround(picture.pixel(cell.left(), cell.bottom())));
    EXPECT_FALSE(isGround(picture.pixel(cell.right(), cell.bottom())));
    EXPECT_FALSE(isGround(picture.pixel(cell.right(), cell.top())));
    EXPECT_TRUE(isGround(picture.pixel(middle.x(), cell.bottom() - 1)));
    EXPECT_TRUE(isGround(picture.pixel(cell.right() - 1, middle.y())));
    EXPECT_TRUE(isGround(picture.pixel(middle)));
}

TEST(GridLines, SwitchedOffTheCellsAreBare) {
    Grid grid;
    grid.lines->setShown(false);
    const QImage picture = grid.picture();
    const QRect cell = grid.cell(1, 0);
    EXPECT_TRUE(isGround(picture.pixel(cell.center().x(), cell.bottom())));
    EXPECT_TRUE(isGround(picture.pixel(cell.right(), cell.center().y())));
}
