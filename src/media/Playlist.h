#pragma once

#include "common/RecordFile.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace campanor {

// A playlist text is every track's full path preceded by "|". A text edited
// by hand that does not begin with "|" keeps its first track all the same.
QStringList splitPlaylistText(const QString& text);
QString joinPlaylistText(const QStringList& tracks);
// The text without every entry whose path equals `track`.
QString removeTrack(const QString& text, const QString& track);
// What a load does with the entries whose file does not exist. One whose
// folder is there is gone for good; one whose folder is absent (a drive or a
// share not mounted yet) is only passed over and stays in the list.
struct MissingTracks {
    QString text;           // the list to keep: without the dropped entries
    QStringList dropped;    // each path once
    QStringList passedOver; // each path once
};
MissingTracks sortOutMissingFiles(const QString& text);

// Companion files of a playlist: its memory file and its volume and balance files.
QString memoryFileOf(const QString& playlist);
QString volumeFileOf(const QString& playlist);
QString balanceFileOf(const QString& playlist);

// A playlist cannot hold a path with "|" (the separator) or a quotation mark
// (the record has no escape for one).
bool storableInPlaylist(const QString& path);

RecordRead readPlaylistFile(const QString& path);
bool writePlaylistFile(const QString& path, const QString& text);

// Whole seconds already heard in memory play; nullopt when there is no memory file.
std::optional<int> readMemoryPosition(const QString& playlist);
bool writeMemoryPosition(const QString& playlist, qint64 seconds);
// Adds counted seconds to the stored memory position.
void addToMemoryPosition(const QString& playlist, qint64 seconds);

// A volume or balance file, clamped to the slider's range; nullopt when
// missing, and when it holds no whole number (empty, "5000.0", stray text),
// which is reported: the caller's default applies.
std::optional<int> readSliderFile(const QString& path, int minimum, int maximum);

// The folder shared by the tracks shown, with its trailing "/": the deepest
// folder that holds every track. Empty when they share none.
QString searchFolderPrefix(const QStringList& tracks);

// Every track leaves its place: a single cycle through all N tracks.
// `random` gives numbers in [0, 1).
QStringList ShufflePlaylist(const QStringList& fileOrder, const std::function<double()>& random);
QStringList ShufflePlaylist(const QStringList& fileOrder);

} // namespace campanor
