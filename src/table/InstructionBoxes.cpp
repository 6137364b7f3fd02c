#include "InstructionBoxes.h"

#include "InstructionLine.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace campanor {

InstructionBoxes::InstructionBoxes(Shape shape, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("InstructionBoxes"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto box = [this](const char* name, const QString& label) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setAccessibleName(label);
        return edit;
    };
    Text18 = box("Text18", QStringLiteral("时间"));
    Text17 = box("Text17", QStringLiteral("周期"));
    Text14 = box("Text14", QStringLiteral("注释"));
    Text19 = box("Text19", QStringLiteral("响应方式"));
    Text18->setMaxLength(8);
    Text18->setPlaceholderText(QStringLiteral("00:00:00"));
    Text14->setToolTip(QStringLiteral("注释中不能包含  |  *  >  <  四种字符"));

    QLineEdit* boxes[] = {Text18, Text17, Text14, Text19};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(boxes[i]->accessibleName(), this);
        label->setBuddy(boxes[i]);
        // Rows: one box a row. Compact: time and day rule on the first row,
        // comment and action field on the second, the action field wider.
        const int row = shape == Shape::Rows ? i : i / 2;
        const int column = shape == Shape::Rows ? 0 : (i % 2) * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(boxes[i], row, column + 1);
    }
    if (shape == Shape::Compact) {
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 3);
    } else {
        Text19->setMinimumWidth(420);
    }
}

void InstructionBoxes::fill(const QString& line) {
    const auto instruction = Instruction::parse(line);
    if (!instruction) {
        for (QLineEdit* box : {Text18, Text17, Text14, Text19})
            box->clear();
        return;
    }
    Text14->setText(instruction->shownComment());
    Text17->setText(instruction->dayRule);
    Text18->setText(line.left(8));
    Text19->setText(instruction->action);
}

TypedInstruction InstructionBoxes::typed() const {
    return {Text18->text(), Text17->text(), Text14->text(), Text19->text()};
}

void InstructionBoxes::setBoxesEnabled(bool enabled) {
    for (QLineEdit* box : {Text18, Text17, Text14, Text19})
        box->setEnabled(enabled);
}

} // namespace campanor
