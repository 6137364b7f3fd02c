#include "FormSelectDirctory.h"

#include "FormSelectFiles.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/Skin.h"
#include "common/SoundFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace campanor {

namespace {
const QString kRoot = QStringLiteral("/");
} // namespace

FormSelectDirctory::FormSelectDirctory(const QString& skinFile, Prompter* prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), prompter_(prompter), skinFile_(skinFile) {
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
    Command2 = new QPushButton(QStringLiteral("取 消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* layout = new QGridLayout(this);
    layout->addWidget(SkinLabel1, 0, 0, 1, 2);
    layout->addWidget(Drive1, 1, 0);
    layout->addWidget(DirLabel, 2, 0);
    layout->addWidget(Dir1, 3, 0);
    layout->addWidget(File1, 1, 1, 3, 1);
    layout->addLayout(buttons, 4, 1);
    layout->setRowStretch(3, 1);
    resize(560, 400);

    connect(Drive1, &QComboBox::activated, this, &FormSelectDirctory::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        setDir1Path(FormSelectFiles::folderAt(dir1Path_, item->text()));
    });
    connect(Command1, &QPushButton::clicked, this, &FormSelectDirctory::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormSelectDirctory::Command2_Click);
}

void FormSelectDirctory::Form_Load(const QString& lastUsed) {
    Skin skin;
    if (skin.LoadSkin(skinFile_))
        skin.ApplySkin(this);
    Drive1->setCurrentIndex(0);
    if (!setDir1Path(lastUsed.isEmpty() ? musicFolder() : lastUsed) && !setDir1Path(musicFolder()))
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

QString FormSelectDirctory::markedFolder() const {
    // The current item alone may only be where the keyboard focus landed.
    const QListWidgetItem* item = Dir1->currentItem();
    if (!item || !item->isSelected())
        return dir1Path_;
    return QDir::cleanPath(FormSelectFiles::folderAt(dir1Path_, item->text()));
}

bool FormSelectDirctory::isUnsearchable(const QString& folder) {
    const auto walksTheSystem = [](const QString& path) {
        if (path == kRoot)
            return true;
        for (const char* pseudo : {"/proc", "/sys", "/dev", "/run"}) {
            const QString top = QLatin1String(pseudo);
            if (path == top || path.startsWith(top + u'/'))
                return true;
        }
        return false;
    };
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return walksTheSystem(QDir::cleanPath(info.absoluteFilePath())) ||
           (!canonical.isEmpty() && walksTheSystem(canonical));
}

void FormSelectDirctory::Command1_Click() {
    if (dir1Path_.isEmpty()) // never loaded: nothing to take
        return;
    const QString folder = markedFolder();
    QString refused;
    if (isUnsearchable(folder))
        refused = QStringLiteral("不能搜索“") + folder +
                  QStringLiteral("”：根目录会搜索整个系统，/proc、/sys、/dev、/run "
                                 "是系统文件夹。请选择存放声音文件的文件夹！");
    else if (const QFileInfo info(folder); !info.isDir() || !info.isExecutable())
        refused = QStringLiteral("文件夹“") + folder + QStringLiteral("”无法打开，请重新选择！");
    if (!refused.isEmpty()) {
        if (prompter_)
            prompter_->message(this, refused, Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    emit folderChosen(folder);
    close();
}

void FormSelectDirctory::Command2_Click() {
    close();
}

} // namespace campanor
