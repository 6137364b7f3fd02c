#pragma once

#include <QStyledItemDelegate>

namespace campanor {

// Draws a thin line under and to the right of every cell while switched on:
// the list's grid lines.
class GridLines : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    bool shown_ = true;
};

} // namespace campanor
