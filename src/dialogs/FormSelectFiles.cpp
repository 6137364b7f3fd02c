#include "FormSelectFiles.h"

#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/Skin.h"
#include "media/FolderWalk.h"
#include "media/Playlist.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace campanor {

namespace {
const QString kParent = QStringLiteral("..");
}

QStringList FormSelectFiles::patterns() {
    return FolderWalk::patterns();
}

QStringList FormSelectFiles::drives() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && !roots.contains(root) &&
            !root.startsWith(QStringLiteral("/proc")) && !root.startsWith(QStringLiteral("/sys")) &&
            !root.startsWith(QStringLiteral("/dev")) && !root.startsWith(QStringLiteral("/run")))
            roots << root;
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

FormSelectFiles::FormSelectFiles(const QString& name, const QString& startTrack,
                                 const QString& skinFile, Prompter* prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), prompter_(prompter) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("曲目选择器"));
    setAttribute(Qt::WA_DeleteOnClose);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("驱动器"));
    Drive1->addItems(drives());
    DirLabel = new QLabel(this);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("文件夹"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("文件"));
    File1->setSelectionMode(QAbstractItemView::MultiSelection);
    Command1 = new QPushButton(QStringLiteral("全选"), this);
    Command2 = new QPushButton(QStringLiteral("全不选"), this);
    Command3 = new QPushButton(QStringLiteral("确定"), this);
    Command4 = new QPushButton(QStringLiteral("取消"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4->setObjectName(QStringLiteral("Command4"));

    auto* left = new QVBoxLayout;
    left->addWidget(Drive1);
    left->addWidget(DirLabel);
    left->addWidget(Dir1, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Command1, Command2, Command3, Command4})
        buttons->addWidget(button);
    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addWidget(File1, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    resize(640, 420);

    connect(Drive1, &QComboBox::activated, this, &FormSelectFiles::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setFolder(folderAt(folder_, item->text())); });
    connect(File1, &QListWidget::itemDoubleClicked, this, &FormSelectFiles::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &FormSelectFiles::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormSelectFiles::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FormSelectFiles::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FormSelectFiles::Command4_Click);

    Skin skin;
    if (skin.LoadSkin(skinFile))
        skin.ApplySkin(this);

    SelectFilesString.clear();
    // Start in the folder of the player's last track.
    QString start = QStringLiteral("/");
    if (!startTrack.isEmpty()) {
        const QFileInfo track(startTrack);
        if (track.isDir())
            start = track.absoluteFilePath();
        else if (track.absoluteDir().exists())
            start = track.absolutePath();
    }
    setFolder(start);
}

void FormSelectFiles::selectDriveHolding(QComboBox* drives, const QString& folder) {
    int best = 0;
    for (int i = 0; i < drives->count(); ++i) {
        const QString root = drives->itemText(i);
        const bool holds = folder == root || folder.startsWith(joinPath(root, QString()));
        if (holds && root.size() > drives->itemText(best).size())
            best = i;
    }
    drives->setCurrentIndex(best);
}

void FormSelectFiles::listFolders(QListWidget* list, const QString& folder) {
    list->clear();
    if (folder != QStringLiteral("/"))
        list->addItem(kParent);
    list->addItems(
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

QString FormSelectFiles::folderAt(const QString& folder, const QString& entry) {
    return entry == kParent ? QFileInfo(folder).dir().absolutePath() : joinPath(folder, entry);
}

void FormSelectFiles::Drive1_Change() {
    const QString root = Drive1->currentText();
    if (QFileInfo(root).isReadable())
        setFolder(root);
    else
        setFolder(QStringLiteral("/"));
}

void FormSelectFiles::setFolder(const QString& folder) {
    const QDir dir(folder);
    folder_ = dir.exists() ? QDir::cleanPath(dir.absolutePath()) : QStringLiteral("/");
    DirLabel->setText(folder_);
    selectDriveHolding(Drive1, folder_);
    listFolders(Dir1, folder_);
    File1->clear();
    File1->addItems(
        QDir(folder_).entryList(patterns(), QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void FormSelectFiles::Command1_Click() {
    File1->selectAll();
}

void FormSelectFiles::Command2_Click() {
    File1->clearSelection();
}

void FormSelectFiles::Command3_Click() {
    SelectFilesString.clear();
    QStringList refused;
    for (int i = 0; i < File1->count(); ++i) {
        if (!File1->item(i)->isSelected())
            continue;
        // The folder's name counts too: a "|" there would split the path.
        const QString path = joinPath(folder_, File1->item(i)->text());
        if (!storableInPlaylist(path)) {
            refused << path;
            continue;
        }
        SelectFilesString += u'|' + path;
    }
    close();
    const QString chosen = SelectFilesString;
    if (!chosen.isEmpty())
        emit filesChosen(chosen);
    // Last: whoever added the files may close this picker while the box waits.
    if (!refused.isEmpty() && prompter_)
        prompter_->message(nullptr,
                           QStringLiteral("路径含有“|”或双引号，不能加入曲目表：\n") +
                               refused.join(u'\n'),
                           Prompter::Icon::Critical, Prompter::Buttons::Ok);
}

void FormSelectFiles::Command4_Click() {
    SelectFilesString.clear();
    close();
}

} // namespace campanor
