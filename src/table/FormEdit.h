#pragma once

#include "TypedInstruction.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace campanor {

class InstructionBoxes;
class Prompter;

// The edit dialog "编辑指令": an instruction of the table in the four typed
// boxes. The instruction stays in the table, and runs, until its button
// hands back a checked line that the host accepts; closing the dialog any
// other way changes nothing.
class FormEdit : public QDialog {
    Q_OBJECT
  public:
    FormEdit(Prompter& prompter, QWidget* parent = nullptr);

    // Loads the boxes from the instruction line, applies the skin's style
    // sheet and shows the dialog at the right edge of the screen.
    void showInstruction(const QString& line, const QString& styleSheet);

    // The button: checks the boxes and hands the line (with its "|") to
    // `committed`; the dialog closes when that accepts it and stays open
    // when it refuses.
    void Command1_Click();

    InstructionBoxes* boxes() const { return boxes_; }
    QPushButton* Command1 = nullptr;

    std::function<bool(const QString& realString)> committed;
    std::function<void()> abandoned;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void placeAtRightEdge();

    Prompter& prompter_;
    InstructionBoxes* boxes_ = nullptr;
    bool handedBack_ = false;
};

} // namespace campanor
