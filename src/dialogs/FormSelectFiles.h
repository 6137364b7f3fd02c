#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace campanor {

class PlayerWindow;

// The track picker (曲目选择器): several sound files from one folder, handed
// to its player, which appends them to its playlist.
class FormSelectFiles : public QWidget {
    Q_OBJECT
  public:
    // `name` is FormSelectFiles (back player) or FormSelectFilesB (front player).
    FormSelectFiles(const QString& name, PlayerWindow* player, const QString& skinFile);

    // The sound file patterns the file list shows.
    static QStringList patterns();
    // The mount points offered as drives, "/" first.
    static QStringList drives();

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

  private:
    QPointer<PlayerWindow> player_;
    QString folder_;
};

} // namespace campanor
