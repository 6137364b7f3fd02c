#pragma once

#include <QLabel>

namespace campanor {

// A one-line label whose text never sets the width of the window that holds
// it: a text longer than the room is cut in the middle (both the start and
// the end of a path stay readable) and shown whole in the tooltip.
// text() stays the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    // Where the text is cut: the middle by default; the end where the start
    // says what matters.
    void setElideMode(Qt::TextElideMode mode) { mode_ = mode; }
    // What the label shows in its present width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Qt::TextElideMode mode_ = Qt::ElideMiddle;
};

} // namespace campanor
