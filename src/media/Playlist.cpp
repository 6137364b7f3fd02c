#include "Playlist.h"

#include "common/AsRunLog.h"
#include "common/ProgramFolder.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

namespace campanor {

QStringList splitPlaylistText(const QString& text) {
    if (text.isEmpty())
        return {};
    QStringList tracks = text.split(u'|');
    // "|a|b" splits into "", "a", "b": the empty head is the leading separator.
    // A head that is not empty is a track whose separator was lost.
    if (tracks.first().isEmpty())
        tracks.removeFirst();
    return tracks;
}

QString joinPlaylistText(const QStringList& tracks) {
    QString text;
    for (const QString& track : tracks)
        text += u'|' + track;
    return text;
}

QString removeTrack(const QString& text, const QString& track) {
    QStringList tracks = splitPlaylistText(text);
    tracks.removeAll(track);
    return joinPlaylistText(tracks);
}

MissingTracks sortOutMissingFiles(const QString& text) {
    MissingTracks result;
    QStringList kept;
    QSet<QString> seen;
    for (const QString& track : splitPlaylistText(text)) {
        if (QFileInfo(track).isFile()) {
            kept << track;
            continue;
        }
        const bool absent = !absentFolderOf(track).isEmpty();
        if (absent)
            kept << track;
        if (!seen.contains(track)) {
            seen.insert(track);
            (absent ? result.passedOver : result.dropped) << track;
        }
    }
    result.text = joinPlaylistText(kept);
    return result;
}

QString memoryFileOf(const QString& playlist) {
    return playlist + u'R';
}
QString volumeFileOf(const QString& playlist) {
    return playlist + QStringLiteral("_Volume.txt");
}
QString balanceFileOf(const QString& playlist) {
    return playlist + QStringLiteral("_Balance.txt");
}

RecordRead readPlaylistFile(const QString& path) {
    const RecordRead read = readRecordFile(path);
    reportRead(path, read);
    return read;
}

bool storableInPlaylist(const QString& path) {
    return !path.contains(u'|') && !path.contains(u'"');
}

bool writePlaylistFile(const QString& path, const QString& text) {
    // The format has no escape for a quotation mark: such a text is never written.
    if (text.contains(u'"'))
        return false;
    return writeTextRecord(path, text);
}

std::optional<int> readMemoryPosition(const QString& playlist) {
    const RecordRead read = readRecordFile(memoryFileOf(playlist));
    if (read.status != ReadStatus::Ok)
        return std::nullopt;
    return read.value.trimmed().toInt();
}

bool writeMemoryPosition(const QString& playlist, qint64 seconds) {
    return writeNumberRecord(memoryFileOf(playlist), seconds);
}

void addToMemoryPosition(const QString& playlist, qint64 seconds) {
    writeMemoryPosition(playlist, readMemoryPosition(playlist).value_or(0) + seconds);
}

std::optional<int> readSliderFile(const QString& path, int minimum, int maximum) {
    const RecordRead read = readRecordFile(path);
    if (read.status != ReadStatus::Ok)
        return std::nullopt;
    bool ok = false;
    const qlonglong value = read.value.trimmed().toLongLong(&ok);
    if (!ok) {
        reportProblem(QStringLiteral("%1 中不是整数（“%2”），使用默认值").arg(path, read.value));
        return std::nullopt;
    }
    return int(std::clamp<qlonglong>(value, minimum, maximum));
}

QString searchFolderPrefix(const QStringList& tracks) {
    if (tracks.isEmpty())
        return {};
    // The folder of the first track, shortened one folder at a time until
    // every track lies under it: never cut inside a folder's name.
    QString folder = tracks.first().left(tracks.first().lastIndexOf(u'/') + 1);
    for (const QString& track : tracks) {
        while (!folder.isEmpty() && !track.startsWith(folder)) {
            const qsizetype parent = folder.size() > 1 ? folder.lastIndexOf(u'/', -2) : -1;
            folder = folder.left(parent + 1);
        }
    }
    return folder;
}

QStringList ShufflePlaylist(const QStringList& fileOrder, const std::function<double()>& random) {
    QStringList shuffled = fileOrder;
    const qsizetype n = shuffled.size();
    for (qsizetype i = 0; i + 1 < n; ++i) {
        // j in i+1..n-1: each track is swapped onward, so none stays in place.
        const qsizetype j = qMin(n - 1, i + 1 + qsizetype((n - i - 1) * random()));
        shuffled.swapItemsAt(i, j);
    }
    return shuffled;
}

QStringList ShufflePlaylist(const QStringList& fileOrder) {
    return ShufflePlaylist(fileOrder, [] { return QRandomGenerator::global()->generateDouble(); });
}

} // namespace campanor
