#include "FormImport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace campanor {

namespace {
constexpr int kKindColumn = 2;
}

FormImport::FormImport(const QList<CalendarEntry>& entries, const QString& note, QWidget* parent)
    : QDialog(parent), entries_(entries) {
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("导入校历条目"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(
        QStringLiteral("将添加以下 %1 项（取消勾选的不添加，类型可以更改）：").arg(entries.size()),
        this);
    layout->addWidget(caption);
    if (!note.isEmpty()) {
        auto* noteLabel = new QLabel(note, this);
        noteLabel->setObjectName(QStringLiteral("ImportNote"));
        noteLabel->setStyleSheet(
            QStringLiteral("QLabel { color: #b00000; background: #fff0c0; padding: 2px; }"));
        noteLabel->setWordWrap(true);
        layout->addWidget(noteLabel);
    }

    ImportList = new QTreeWidget(this);
    ImportList->setObjectName(QStringLiteral("ImportList"));
    ImportList->setAccessibleName(QStringLiteral("要导入的条目"));
    ImportList->setRootIsDecorated(false);
    ImportList->setHeaderLabels(
        {QStringLiteral("日期"), QStringLiteral("名称"), QStringLiteral("类型")});
    for (const CalendarEntry& entry : entries) {
        auto* row = new QTreeWidgetItem(ImportList, {entry.dates.text(), entry.name, QString()});
        row->setCheckState(0, Qt::Checked);
        auto* kind = new QComboBox(ImportList);
        kind->setObjectName(QStringLiteral("ComboImportKind"));
        kind->setAccessibleName(QStringLiteral("类型：") + entry.dates.text());
        kind->addItem(QStringLiteral("放假"), int(CalendarKind::Holiday));
        kind->addItem(QStringLiteral("调休（星期待选）"), int(CalendarKind::MakeUp));
        kind->setCurrentIndex(entry.kind == CalendarKind::MakeUp ? 1 : 0);
        ImportList->setItemWidget(row, kKindColumn, kind);
    }
    ImportList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(ImportList);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CommandImportOk = new QPushButton(QStringLiteral("添加到校历"), this);
    CommandImportOk->setObjectName(QStringLiteral("CommandImportOk"));
    CommandImportOk->setDefault(true);
    CommandImportCancel = new QPushButton(QStringLiteral("取消"), this);
    CommandImportCancel->setObjectName(QStringLiteral("CommandImportCancel"));
    buttons->addWidget(CommandImportOk);
    buttons->addWidget(CommandImportCancel);
    layout->addLayout(buttons);
    connect(CommandImportOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandImportCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 420);
}

QList<CalendarEntry> FormImport::chosen() const {
    QList<CalendarEntry> result;
    for (int row = 0; row < ImportList->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = ImportList->topLevelItem(row);
        if (item->checkState(0) != Qt::Checked)
            continue;
        CalendarEntry entry = entries_[row];
        const auto* kind = static_cast<QComboBox*>(ImportList->itemWidget(item, kKindColumn));
        entry.kind = CalendarKind(kind->currentData().toInt());
        if (entry.kind == CalendarKind::Holiday)
            entry.parameter.clear();
        result << entry;
    }
    return result;
}

} // namespace campanor
