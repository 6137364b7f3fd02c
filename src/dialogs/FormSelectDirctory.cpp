#include "FormSelectDirctory.h"

#include "FormSelectFiles.h"
#include "common/ProgramFolder.h"
#include "common/Skin.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace campanor {

namespace {
const QString kRoot = QStringLiteral("/");
} // namespace

FormSelectDirctory::FormSelectDirctory(const QString& skinFile, QWidget* parent)
    : QWidget(parent, Qt::Window), skinFile_(skinFile) {
    setObjectName(QStringLiteral("FormSelectDirctory"));
    setWindowTitle(QStringLiteral("搜索目录选择器"));
    setAttribute(Qt::WA_DeleteOnClose);

    SkinLabel1 = new QLabel(QStringLiteral("请选择要自动搜索的文件夹"), this);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->addItems(FormSelectFiles::drives());
    Drive1->setAccessibleName(QStringLiteral("驱动器"));
    DirLabel = new QLabel(this);
    DirLabel->setObjectName(QStringLiteral("DirLabel"));
    DirLabel->setWordWrap(true);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("文件夹"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("文件夹中的文件"));
    // For looking only: the choice is the folder.
    File1->setSelectionMode(QAbstractItemView::NoSelection);
    File1->setFocusPolicy(Qt::NoFocus);
    Command1 = new QPushButton(QStringLiteral("确 定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(SkinLabel1, 0, 0, 1, 2);
    layout->addWidget(Drive1, 1, 0);
    layout->addWidget(DirLabel, 2, 0);
    layout->addWidget(Dir1, 3, 0);
    layout->addWidget(File1, 1, 1, 3, 1);
    layout->addWidget(Command1, 4, 1, Qt::AlignRight);
    layout->setRowStretch(3, 1);
    resize(560, 400);

    connect(Drive1, &QComboBox::activated, this, &FormSelectDirctory::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        setDir1Path(FormSelectFiles::folderAt(dir1Path_, item->text()));
    });
    connect(Command1, &QPushButton::clicked, this, &FormSelectDirctory::Command1_Click);
}

void FormSelectDirctory::Form_Load() {
    Skin skin;
    if (skin.LoadSkin(skinFile_))
        skin.ApplySkin(this);
    Drive1->setCurrentIndex(0);
    setDir1Path(kRoot);
}

void FormSelectDirctory::Drive1_Change() {
    // A drive that cannot be read (a medium gone) falls back to the root.
    if (!setDir1Path(Drive1->currentText()))
        setDir1Path(kRoot);
}

bool FormSelectDirctory::setDir1Path(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isExecutable())
        return false;
    dir1Path_ = QDir::cleanPath(info.absoluteFilePath());
    DirLabel->setText(dir1Path_);
    DirLabel->setToolTip(dir1Path_);
    FormSelectFiles::selectDriveHolding(Drive1, dir1Path_);
    FormSelectFiles::listFolders(Dir1, dir1Path_);
    Dir1_Change();
    return true;
}

void FormSelectDirctory::Dir1_Change() {
    File1->clear();
    File1->addItems(QDir(dir1Path_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void FormSelectDirctory::Command1_Click() {
    if (!dir1Path_.isEmpty())
        emit folderChosen(dir1Path_);
    close();
}

} // namespace campanor
