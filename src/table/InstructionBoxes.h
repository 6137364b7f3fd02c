#pragma once

#include "TypedInstruction.h"

#include <QWidget>

class QLineEdit;

namespace campanor {

// The four typed boxes of one instruction, beside their labels "时间",
// "周期", "注释", "响应方式": the insert panel of the main window and the
// edit dialog both hold one.
class InstructionBoxes : public QWidget {
    Q_OBJECT
  public:
    enum class Shape { Rows, Compact };
    explicit InstructionBoxes(Shape shape, QWidget* parent = nullptr);

    // Fills the boxes from an instruction line (without its "|"): the
    // comment box stays empty for "没有注释".
    void fill(const QString& line);
    TypedInstruction typed() const;
    void setBoxesEnabled(bool enabled);

    QLineEdit* Text18 = nullptr; // time
    QLineEdit* Text17 = nullptr; // day rule
    QLineEdit* Text14 = nullptr; // comment
    QLineEdit* Text19 = nullptr; // action field
};

} // namespace campanor
