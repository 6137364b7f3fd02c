#include "FormEdit.h"

#include "InstructionBoxes.h"
#include "common/Prompter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace campanor {

FormEdit::FormEdit(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("FormEdit"));
    setWindowTitle(QStringLiteral("编辑指令"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    boxes_ = new InstructionBoxes(InstructionBoxes::Shape::Rows, this);
    layout->addWidget(boxes_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("确 定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    row->addWidget(Command1);
    layout->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, &FormEdit::Command1_Click);
}

void FormEdit::showInstruction(const QString& line, const QString& styleSheet) {
    handedBack_ = false;
    boxes_->fill(line);
    setStyleSheet(styleSheet);
    adjustSize();
    show();
    // Placed once shown, when the frame around the dialog is known.
    placeAtRightEdge();
    raise();
    activateWindow();
    boxes_->Text18->setFocus();
}

void FormEdit::placeAtRightEdge() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = frameGeometry().size();
    move(area.x() + area.width() - size.width(), area.y() + (area.height() - size.height()) / 2);
}

void FormEdit::Command1_Click() {
    const TypedInstruction typed = boxes_->typed();
    if (const auto refused = checkTypedInstruction(typed)) {
        prompter_.message(this, refused->text, refused->icon, Prompter::Buttons::Ok);
        return;
    }
    if (committed && !committed(typed.realString()))
        return;
    handedBack_ = true;
    close();
}

void FormEdit::reject() {
    close();
}

void FormEdit::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
    if (!handedBack_ && abandoned)
        abandoned();
    handedBack_ = true; // one hand-back per opening
}

} // namespace campanor
