#pragma once

#include <QString>

class QWidget;

namespace campanor {

// Every file dialog goes through here; an empty result means cancelled.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual QString openFile(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) = 0;
    // An open dialog that lists only files with the execute bit; `kind`
    // names them. By default an open dialog for every file.
    virtual QString openProgram(QWidget* parent, const QString& title, const QString& folder,
                                const QString& kind) {
        return openFile(parent, title, folder, kind + QStringLiteral("|*"));
    }
};

class QtFileDialogs : public FileDialogs {
  public:
    QString openFile(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter) override;
    QString openProgram(QWidget* parent, const QString& title, const QString& folder,
                        const QString& kind) override;
};

// The one name the playlists go by in every dialog that opens or saves one.
inline const QString kPlaylistFilter = QStringLiteral("曲目表 (*.PLF)|*.PLF");

// "Name|*.a;*.b" (the system's filter form) as a Qt name filter "Name (*.a *.b)".
QString toQtFilter(const QString& filter);

} // namespace campanor
