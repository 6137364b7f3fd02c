#pragma once

#include "FolderWalk.h"

#include <QString>
#include <QStringList>

namespace campanor {

// The file search: turns a search folder into the temporary playlist of the
// front or the back player. It has no window of its own, since nothing of it
// is ever shown; each search uses a fresh object.
class FormSearchFile {
  public:
    // `frontPlayer` is the main window's FrontPlayer: "前置排序" or "前置随机"
    // sends the result to the front player's list (and is emptied), anything
    // else to the back player's.
    FormSearchFile(QString programFolder, QString* frontPlayer);

    // Points the search at a folder; false when it does not exist or cannot
    // be read, and nothing changes.
    bool setDir1Path(const QString& folder);
    const QString& Dir1Path() const { return dir1Path_; }

    // Search: walks the folder and saves the result. False when the folder
    // could not be read or the temporary playlist could not be written.
    bool Command1_Click();
    // The walk alone, which touches nothing but this object (it may run on
    // another thread); false when the folder could not be read or `carryOn`
    // ended the walk.
    bool walk(const FolderWalk::CarryOn& carryOn = {});
    // Save: writes List2 as the temporary playlist with a memory file of 0.
    bool Command2_Click();

    // The temporary playlists under the program folder.
    static QString frontListPath(const QString& programFolder);
    static QString backListPath(const QString& programFolder);

    QStringList List1; // the folders queued, in the order walked
    QStringList List2; // the files found, in the order found
    QString Label1;    // "Total:" and the number of files found
    // The walk stopped at a list limit.
    bool truncated = false;
    // Files left out of the playlist: their path holds "|" or a quotation mark,
    // which a playlist cannot store.
    QStringList unstorable;
    // The playlist the last save wrote.
    QString savedList;

  private:
    QString programFolder_;
    QString* frontPlayer_;
    QString dir1Path_;
};

} // namespace campanor
