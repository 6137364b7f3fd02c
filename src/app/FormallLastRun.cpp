#include "Formall.h"

#include "table/InstructionLine.h"
#include "table/InstructionTable.h"

#include <QHBoxLayout>
#include <QTreeWidget>

namespace campanor {

namespace {

// Long enough to be seen from across the room, short enough not to be
// taken for a selection.
constexpr int kRowHighlightMs = 4000;

QString lastRunText(const QDateTime& second, const QString& line, const QString& outcome) {
    // The outcome before the instruction, and the line cut at its end: the
    // outcome is never what disappears. The log's own words (完成, 失败：why,
    // ...): what the operator finds there later reads the same.
    QString text = QStringLiteral("上次执行：") + second.toString(QStringLiteral("HH:mm:ss")) +
                   QStringLiteral("  ") + outcome;
    if (const auto instruction = Instruction::parse(line)) {
        if (!instruction->shownComment().isEmpty())
            text += QStringLiteral("  ") + instruction->shownComment();
        text += QStringLiteral("  ") + instruction->action;
    }
    return text;
}

void clearHighlight(QTreeWidget* list) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        for (int column = 0; column < list->columnCount(); ++column)
            list->topLevelItem(i)->setBackground(column, QBrush());
}

} // namespace

void Formall::buildLastRun(QHBoxLayout* row, QWidget* parent) {
    LastInstruction = new ElidedLabel(parent);
    LastInstruction->setObjectName(QStringLiteral("LastInstruction"));
    LastInstruction->setAccessibleName(QStringLiteral("上次执行的指令"));
    LastInstruction->setElideMode(Qt::ElideRight);
    // Until something has run the next instruction has the whole line.
    LastInstruction->hide();
    row->addWidget(LastInstruction, 1);

    rowHighlight_ = new QTimer(this);
    rowHighlight_->setSingleShot(true);
    connect(rowHighlight_, &QTimer::timeout, this, [this] { clearHighlight(ListView1); });
    tick_.setOutcomeHandler([this](const QDateTime& second, const QString& line,
                                   const QString& outcome,
                                   bool failed) { showLastRun(second, line, outcome, failed); });
}

void Formall::showLastRun(const QDateTime& second, const QString& line, const QString& outcome,
                          bool failed) {
    lastRunSecond_ = second;
    LastInstruction->setText(lastRunText(second, line, outcome));
    LastInstruction->show();
    // The skin colours the label; a failure must stand out whatever it draws.
    LastInstruction->setStyleSheet(failed ? QStringLiteral("QLabel { color: #b00000; background: "
                                                           "#fff0c0; font-weight: bold; }")
                                          : QString());

    rowHighlight_->stop();
    clearHighlight(ListView1);
    const QString marked = markedAsFailed(line);
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QString shown = rowLine(i);
        if (shown != line && shown != marked)
            continue;
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        const QColor colour = failed ? QColor(255, 200, 200) : QColor(200, 240, 200);
        for (int column = 0; column < ListView1->columnCount(); ++column)
            item->setBackground(column, colour);
        ListView1->scrollToItem(item);
        break;
    }
    rowHighlight_->start(kRowHighlightMs);
}

} // namespace campanor
