#include "Formall.h"

#include "common/AsRunLog.h"
#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "table/FormEdit.h"
#include "table/GridLines.h"
#include "table/InstructionBoxes.h"
#include "table/InstructionComposer.h"
#include "table/TableText.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace campanor {

namespace {

const QString kTableFilter = QStringLiteral("指令表(*.DTT)|*.DTT");

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

QWidget* Formall::buildTableSide(QWidget* parent) {
    auto* side = new QWidget(parent);
    auto* right = new QVBoxLayout(side);
    right->setContentsMargins(0, 0, 0, 0);
    SkinLabel2 = new ElidedLabel(side);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    right->addWidget(SkinLabel2);

    ListView1 = new QTreeWidget(side);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("指令列表"));
    ListView1->setColumnCount(5);
    ListView1->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("注释"),
                                QStringLiteral("周期"), QStringLiteral("时间"),
                                QStringLiteral("响应方式")});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->header()->setStretchLastSection(true);
    ListView1->setColumnWidth(0, 50);
    ListView1->setColumnWidth(1, 120);
    ListView1->setColumnWidth(2, 110);
    ListView1->setColumnWidth(3, 80);
    ListView1->setMinimumWidth(420);
    gridLines_ = new GridLines(ListView1);
    ListView1->setItemDelegate(gridLines_);
    ListView1->installEventFilter(this);
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        // Moving through the rows with the keyboard selects like a click.
        if (current && ListView1->hasFocus())
            ListView1_Click();
    });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { Command3_Click(); });
    right->addWidget(ListView1, 1);
    buildStatusLines(right, side);

    auto* panelRow = new QHBoxLayout;
    insertPanel = new InstructionBoxes(InstructionBoxes::Shape::Compact, side);
    panelRow->addWidget(insertPanel, 1);
    auto* panelButtons = new QVBoxLayout;
    Command10 = button(side, "Command10", QStringLiteral("插入指令"));
    Command3 = button(side, "Command3", QStringLiteral("编辑指令"));
    panelButtons->addWidget(Command10);
    panelButtons->addWidget(Command3);
    panelRow->addLayout(panelButtons);
    right->addLayout(panelRow);
    // The commit step of the edit and insert paths: never shown.
    Command9 = button(side, "Command9", QStringLiteral("编辑后的指令增加在这里"));
    Command9->hide();

    auto* bottom = new QHBoxLayout;
    Command2 = button(side, "Command2", QStringLiteral("删除"));
    Command4 = button(side, "Command4", QStringLiteral("清空"));
    Command5 = button(side, "Command5", QStringLiteral("新建"));
    Command6 = button(side, "Command6", QStringLiteral("打开"));
    Command7 = button(side, "Command7", QStringLiteral("默认"));
    Check1 = new QCheckBox(QStringLiteral("网格开关"), side);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    for (QWidget* w : {static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command4),
                       static_cast<QWidget*>(Command5), static_cast<QWidget*>(Command6),
                       static_cast<QWidget*>(Command7), static_cast<QWidget*>(Check1)})
        bottom->addWidget(w);
    bottom->addStretch(1);
    auto* countLabel = new QLabel(QStringLiteral("总记录数"), side);
    bottom->addWidget(countLabel);
    Text1 = new QLineEdit(side);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("总记录数"));
    Text1->setReadOnly(true);
    Text1->setToolTip(QStringLiteral("总记录数"));
    Text1->setFixedWidth(50);
    countLabel->setBuddy(Text1);
    bottom->addWidget(Text1);
    right->addLayout(bottom);

    // The keyboard's ways to the table commands.
    Command5->setShortcut(QKeySequence::New);
    Command5->setToolTip(QStringLiteral("新建指令表（Ctrl+N）"));
    Command6->setShortcut(QKeySequence::Open);
    Command6->setToolTip(QStringLiteral("打开指令表（Ctrl+O）"));
    Command2->setToolTip(QStringLiteral("删除选中的指令（在列表中按 Delete）"));
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, ListView1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &Formall::Command2_Click);
    connect(Command2, &QPushButton::clicked, this, &Formall::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Formall::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Formall::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Formall::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Formall::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Formall::Command7_Click);
    connect(Command9, &QPushButton::clicked, this, &Formall::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Formall::Command10_Click);
    connect(Check1, &QCheckBox::clicked, this, &Formall::Check1_Click);
    return side;
}

bool Formall::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 && event->type() == QEvent::FocusIn)
        ListView1_Click();
    return QMainWindow::eventFilter(watched, event);
}

bool Formall::gridLinesShown() const {
    return gridLines_->shown();
}

void Formall::ListView1_Click() {
    if (FormEdit_ && FormEdit_->isVisible())
        return;
    VS.clear();
    QTreeWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    // The line as the table holds it, so that delete and edit find it even
    // when it was written by hand and does not read back as an instruction.
    VS = table_.lines().value(ListView1->indexOfTopLevelItem(item));
    insertPanel->fill(VS);
}

void Formall::keepSelection() {
    // A reload empties the list: the row chosen before stays chosen while
    // the table holds its line, and is forgotten otherwise.
    const qsizetype row = VS.isEmpty() ? -1 : table_.lines().indexOf(VS);
    if (row < 0) {
        VS.clear();
        return;
    }
    const QSignalBlocker quiet(ListView1);
    ListView1->setCurrentItem(ListView1->topLevelItem(static_cast<int>(row)));
}

void Formall::selectRow(const QString& line) {
    const qsizetype row = table_.lines().indexOf(line);
    if (row < 0)
        return;
    ListView1->setCurrentItem(ListView1->topLevelItem(static_cast<int>(row)));
    ListView1->setFocus();
    VS = line;
}

QString Formall::tableNotWrittenMessage(const QString& notDone) const {
    return (table_.writable()
                ? QStringLiteral("指令表文件无法写入，")
                : QStringLiteral("指令表文件没有完整读出，为了不损坏其中的内容，不能修改它。")) +
           notDone;
}

bool Formall::storeTableText(const QString& tableText, const QString& notDone) {
    const bool stored = table_.store(CurrentTablePath, tableText);
    if (!stored)
        services_.prompter->message(this, tableNotWrittenMessage(notDone), Prompter::Icon::Critical,
                                    Prompter::Buttons::Ok);
    return stored;
}

bool Formall::refusedWhileEditing(const QString& command) {
    // The edit would otherwise write its instruction back into what was
    // just deleted or cleared.
    if (editLine_.isEmpty())
        return false;
    if (FormEdit_)
        FormEdit_->raise();
    services_.prompter->message(this,
                                QStringLiteral("正在编辑指令，请先按“确 定”或关闭编辑窗口，再") +
                                    command + QStringLiteral("。"),
                                Prompter::Icon::Warning, Prompter::Buttons::Ok);
    return true;
}

void Formall::Command2_Click() {
    if (refusedWhileEditing(QStringLiteral("删除")))
        return;
    if (VS.isEmpty()) {
        services_.prompter->message(this, QStringLiteral("你没有选择要删除的指令!"),
                                    Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    if (services_.prompter->message(
            this, QStringLiteral("确认要删除[") + VS + QStringLiteral("]吗?"),
            Prompter::Icon::Question, Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    const QString line = VS;
    if (!storeTableText(removeInstruction(table_.tableText(), line),
                        QStringLiteral("这条指令没有删除！"))) {
        reportProblem(
            QStringLiteral("指令表：删除失败，%1 没有写入：%2").arg(CurrentTablePath, line));
        showTable(); // what the file holds, the line still chosen
        return;
    }
    VS.clear();
    showTable();
    AsRunLog::write(QStringLiteral("指令表：删除 ") + line);
}

void Formall::Command4_Click() {
    if (refusedWhileEditing(QStringLiteral("清空")))
        return;
    if (services_.prompter->message(this, QStringLiteral("当前指令表会被清空！你确定吗？？？"),
                                    Prompter::Icon::Question,
                                    Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    if (!storeTableText(QString(), QStringLiteral("指令表没有清空！"))) {
        reportProblem(QStringLiteral("指令表：清空失败，%1 没有写入").arg(CurrentTablePath));
        showTable();
        return;
    }
    VS.clear();
    showTable();
    AsRunLog::write(QStringLiteral("指令表：清空 ") + CurrentTablePath);
}

void Formall::Command5_Click() {
    QString path;
    for (;;) {
        path = services_.dialogs->saveFile(this, QStringLiteral("输入要新建的指令表名(*.DTT):"),
                                           settings_.path(file::DayTimeTable), kTableFilter);
        if (path.isEmpty())
            return;
        // A name typed without an extension would never show in the open dialog.
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".DTT");
        if (!QFileInfo::exists(path) ||
            services_.prompter->message(this, path + QStringLiteral("已存在，真的要覆盖它吗？"),
                                        Prompter::Icon::Warning,
                                        Prompter::Buttons::YesNo) == Prompter::Answer::Yes)
            break;
    }
    if (const auto refused = checkChosenPath(path); refused || !writeTableFile(path, QString())) {
        services_.prompter->message(this, refused ? refused->text : kNotStoredMessage,
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return;
    }
    AsRunLog::write(QStringLiteral("指令表：新建 ") + path);
    SetCurrentTable(path);
    table_.clear();
    showTable();
    VS.clear();
}

void Formall::Command6_Click() {
    QString path;
    for (;;) {
        path = services_.dialogs->openFile(this, QStringLiteral("选择要打开的指令表(*.DTT):"),
                                           settings_.path(file::DayTimeTable), kTableFilter);
        if (path.isEmpty())
            return;
        if (QFileInfo::exists(path))
            break;
        services_.prompter->message(this, path + QStringLiteral("不存在,请重新选择一个!"),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
    }
    AsRunLog::write(QStringLiteral("指令表：打开 ") + path);
    SetCurrentTable(path);
    LoadInstructionTable();
}

void Formall::Command7_Click() {
    if (!settings_.writeText(file::DefaultDTT, CurrentTablePath)) {
        // The next start would load the old default: say so, change nothing.
        reportProblem(QStringLiteral("指令表：设为默认失败，%1 没有写入：%2")
                          .arg(settings_.path(file::DefaultDTT), CurrentTablePath));
        services_.prompter->message(this,
                                    QStringLiteral("DefaultDTT.txt无法写入，") + CurrentTablePath +
                                        QStringLiteral("没有被设置为默认的指令表！"),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return;
    }
    DefaultTablePath = CurrentTablePath;
    AsRunLog::write(QStringLiteral("指令表：设为默认 ") + DefaultTablePath);
    Command7->setEnabled(false);
    Command7->setToolTip(QStringLiteral("当前默认的指令表是：") + DefaultTablePath);
    services_.prompter->message(
        this, DefaultTablePath + QStringLiteral("已被设置为默认的指令表,下次程序启动时它将被调用!"),
        Prompter::Icon::Information, Prompter::Buttons::Ok);
}

void Formall::Check1_Click() {
    gridLines_->setShown(!gridLines_->shown());
    ListView1->viewport()->update();
}

void Formall::setInsertPanelEnabled(bool enabled) {
    insertPanel->setBoxesEnabled(enabled);
    Command10->setEnabled(enabled);
}

void Formall::showEditDialog() {
    if (!FormEdit_) {
        FormEdit_ = new FormEdit(*services_.prompter, this);
        FormEdit_->committed = [this](const QString& line) {
            RealString = line;
            return commitRealString();
        };
        FormEdit_->abandoned = [this] { endEdit(); };
    }
    FormEdit_->showInstruction(editLine_, Skin1.styleSheet());
}

void Formall::Command3_Click() {
    if (FormEdit_ && FormEdit_->isVisible()) {
        FormEdit_->raise();
        return;
    }
    if (VS.isEmpty() || !table_.lines().contains(VS)) {
        services_.prompter->message(this, QStringLiteral("你没有选择要编辑的指令!"),
                                    Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    if (!table_.writable()) {
        services_.prompter->message(this, tableNotWrittenMessage(QString()),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return;
    }
    // The instruction stays in the table, and runs at its second, until the
    // edit is committed; it is replaced then.
    editLine_ = VS;
    editSource_ = CurrentTablePath;
    setInsertPanelEnabled(false);
    showEditDialog();
}

void Formall::endEdit() {
    editLine_.clear();
    setInsertPanelEnabled(true);
}

void Formall::Command9_Click() {
    commitRealString();
}

bool Formall::commitRealString() {
    const bool editing = !editLine_.isEmpty();
    const bool inPlace = editing && samePathIgnoringCase(editSource_, CurrentTablePath);
    const auto change =
        table_.replace(CurrentTablePath, inPlace ? editLine_ : QString(), RealString);
    switch (change) {
    case InstructionTable::Change::Full:
        services_.prompter->message(this, kCapacityMessage, Prompter::Icon::Warning,
                                    Prompter::Buttons::Ok);
        return false;
    case InstructionTable::Change::Duplicate:
        services_.prompter->message(this, kDuplicateMessage, Prompter::Icon::Warning,
                                    Prompter::Buttons::Ok);
        if (editing)
            showEditDialog(); // shows the instruction as it was
        return false;
    case InstructionTable::Change::NotWritten:
        showTable();
        reportProblem(QStringLiteral("指令没有保存：") + RealString.mid(1));
        services_.prompter->message(this,
                                    tableNotWrittenMessage(QStringLiteral("这条指令没有保存！")),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return false;
    case InstructionTable::Change::Stored:
        break;
    }
    showTable();
    selectRow(RealString.mid(1));
    // Edited while another table was opened: the new line went into the table
    // open now, so the old one leaves the table it came from.
    if (editing && !inPlace && !takeOutOfTableFile(editSource_, editLine_))
        reportProblem(QStringLiteral("修改前的指令仍留在 %1 中：%2").arg(editSource_, editLine_));
    AsRunLog::write(QStringLiteral("指令表：") +
                    (editing ? QStringLiteral("修改 ") + editLine_ + QStringLiteral(" -> ")
                             : QStringLiteral("插入 ")) +
                    RealString.mid(1));
    endEdit();
    return true;
}

void Formall::Command10_Click() {
    const TypedInstruction typed = insertPanel->typed();
    if (const auto refused = checkTypedInstruction(typed)) {
        services_.prompter->message(this, refused->text, refused->icon, Prompter::Buttons::Ok);
        return;
    }
    if (table_.count() >= kMaxInstructions) {
        services_.prompter->message(this, kCapacityMessage, Prompter::Icon::Warning,
                                    Prompter::Buttons::Ok);
        return;
    }
    RealString = typed.realString();
    if (isDuplicate(RealString.mid(1), table_.lines())) {
        services_.prompter->message(this, kDuplicateMessage, Prompter::Icon::Warning,
                                    Prompter::Buttons::Ok);
        return;
    }
    if (services_.prompter->message(
            this, QStringLiteral("真的要插入指令  [") + RealString + QStringLiteral("]  吗？"),
            Prompter::Icon::None, Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
        return;
    insertPanel->Text14->clear();
    Command9_Click();
}

} // namespace campanor
