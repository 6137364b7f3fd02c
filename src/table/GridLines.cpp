#include "GridLines.h"

#include <QPainter>

namespace campanor {

void GridLines::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!shown_)
        return;
    // One-pixel fills rather than pen strokes: a translucent pen takes the
    // painter's slow path, and a full page of cells paints several hundred.
    QColor line = option.palette.color(QPalette::Text);
    line.setAlpha(70);
    const QRect r = option.rect;
    painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height() - 1), line);
}

} // namespace campanor
