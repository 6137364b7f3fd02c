#include "GridLines.h"

#include <QPainter>

namespace campanor {

void GridLines::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!shown_)
        return;
    painter->save();
    QColor line = option.palette.color(QPalette::Text);
    line.setAlpha(70);
    painter->setPen(line);
    const QRect r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

} // namespace campanor
