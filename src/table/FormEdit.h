#pragma once

#include "TypedInstruction.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace campanor {

class InstructionBoxes;
class Prompter;

// The edit dialog "编辑指令": the instruction taken out of the table, in the
// four typed boxes. Its button hands the checked line back; closing it any
// other way hands back nothing, and the host puts the instruction back.
class FormEdit : public QDialog {
    Q_OBJECT
  public:
    FormEdit(Prompter& prompter, QWidget* parent = nullptr);

    // Loads the boxes from the instruction line, applies the skin's style
    // sheet and shows the dialog at the right edge of the screen.
    void showInstruction(const QString& line, const QString& styleSheet);

    // The button: checks the boxes; on success closes the dialog and hands
    // the line (with its "|") to `committed`.
    void Command1_Click();

    InstructionBoxes* boxes() const { return boxes_; }
    QPushButton* Command1 = nullptr;

    std::function<void(const QString& realString)> committed;
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
