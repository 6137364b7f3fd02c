#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace campanor {

class Prompter;

// The track picker (曲目选择器): several sound files from one folder. It hands
// the chosen paths back through filesChosen; whoever opened it adds them.
class FormSelectFiles : public QWidget {
    Q_OBJECT
  public:
    // `name` is FormSelectFiles (back player) or FormSelectFilesB (front
    // player); it starts in the folder that holds `startTrack`.
    FormSelectFiles(const QString& name, const QString& startTrack, const QString& skinFile,
                    Prompter* prompter, QWidget* parent = nullptr);

    // The sound file patterns the file list shows.
    static QStringList patterns();
    // The mount points offered as drives, "/" first.
    static QStringList drives();
    // Shared with the folder picker: the drive list shows the mount point that
    // holds `folder`; the folder list shows ".." (except at "/") and the
    // folder's own folders in name order, and a chosen entry is the folder to go to.
    static void selectDriveHolding(QComboBox* drives, const QString& folder);
    static void listFolders(QListWidget* list, const QString& folder);
    static QString folderAt(const QString& folder, const QString& entry);

    void Drive1_Change();
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    void Command1_Click(); // select all
    void Command2_Click(); // select none
    void Command3_Click(); // OK
    void Command4_Click(); // cancel

    // "|" + full path of each chosen file, in the file list's order.
    QString SelectFilesString;

    QComboBox* Drive1 = nullptr;
    QLabel* DirLabel = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr;

  signals:
    // OK with at least one file: "|" + full path of each, in the list's order.
    void filesChosen(const QString& selectFilesString);

  private:
    Prompter* prompter_;
    QString folder_;
};

} // namespace campanor
