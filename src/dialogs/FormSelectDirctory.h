#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace campanor {

class Prompter;

// The folder picker (搜索目录选择器): chooses the search folder of a
// search-folder instruction. 取消, like closing the window by its title bar,
// changes nothing.
class FormSelectDirctory : public QWidget {
    Q_OBJECT
  public:
    // `prompter` says why a folder is refused; it may be null (no message).
    FormSelectDirctory(const QString& skinFile, Prompter* prompter, QWidget* parent = nullptr);

    // The drive list starts on "/", and the folder list on that drive.
    // Starts in the folder used last, else in the user's music folder.
    void Form_Load(const QString& lastUsed = QString());
    void Drive1_Change();
    // Points the folder list at a folder; false when it cannot be read, and
    // nothing changes.
    bool setDir1Path(const QString& folder);
    const QString& Dir1Path() const { return dir1Path_; }
    // The file list follows the folder list.
    void Dir1_Change();
    // The folder marked in the folder list (a single click), or the open
    // folder when nothing is marked.
    QString markedFolder() const;
    // OK: hands the marked folder on and closes; a folder no search should
    // walk is refused with a message and the picker stays open.
    void Command1_Click();
    // Cancel: closes, nothing changes.
    void Command2_Click();

    // The root and the kernel's pseudo file systems (/proc, /sys, /dev,
    // /run and everything under them, also reached through a link): a walk
    // there goes through the whole system or never ends.
    static bool isUnsearchable(const QString& folder);

    QLabel* SkinLabel1 = nullptr;
    QComboBox* Drive1 = nullptr;
    QLabel* DirLabel = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

  signals:
    // The folder chosen: "/" at the root, otherwise without a trailing "/".
    void folderChosen(const QString& folder);

  private:
    Prompter* prompter_;
    QString skinFile_;
    QString dir1Path_;
};

} // namespace campanor
