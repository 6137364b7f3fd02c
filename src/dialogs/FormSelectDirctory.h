#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace campanor {

// The folder picker (搜索目录选择器): chooses the search folder of a
// search-folder instruction. There is no cancel: closing the window by its
// title bar changes nothing.
class FormSelectDirctory : public QWidget {
    Q_OBJECT
  public:
    explicit FormSelectDirctory(const QString& skinFile, QWidget* parent = nullptr);

    // The drive list starts on "/", and the folder list on that drive.
    void Form_Load();
    void Drive1_Change();
    // Points the folder list at a folder; false when it cannot be read, and
    // nothing changes.
    bool setDir1Path(const QString& folder);
    const QString& Dir1Path() const { return dir1Path_; }
    // The file list follows the folder list.
    void Dir1_Change();
    // OK: hands the folder on and closes.
    void Command1_Click();

    QLabel* SkinLabel1 = nullptr;
    QComboBox* Drive1 = nullptr;
    QLabel* DirLabel = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton* Command1 = nullptr;

  signals:
    // The folder chosen: "/" at the root, otherwise without a trailing "/".
    void folderChosen(const QString& folder);

  private:
    QString skinFile_;
    QString dir1Path_;
};

} // namespace campanor
