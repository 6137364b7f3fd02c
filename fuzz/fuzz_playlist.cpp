// The playlist text: split, joined, tracks removed, shuffled, the search folder.
#include "FuzzInput.h"
#include "common/RecordFile.h"
#include "media/Playlist.h"

#include <algorithm>

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    const uint8_t seed = in.byte();
    const QString text = parseRecord(decodeLocal(in.rest()));

    const QStringList tracks = splitPlaylistText(text);
    const QString joined = joinPlaylistText(tracks);
    // No track is ever lost: a text edited by hand without its leading "|"
    // gains one, and that is all.
    require(joined == text || joined == u'|' + text, "the list does not read back");
    require(splitPlaylistText(joined) == tracks, "a written list reads differently");

    if (!tracks.isEmpty()) {
        const QString without = removeTrack(text, tracks.first());
        const QStringList left = splitPlaylistText(without);
        require(!left.contains(tracks.first()), "a removed track is still there");
        require(left.size() == tracks.size() - tracks.count(tracks.first()),
                "removal took other tracks");
        require(tracks.first().startsWith(searchFolderPrefix(tracks)), "folder not a prefix");
    }

    uint32_t state = seed;
    const QStringList shuffled = ShufflePlaylist(tracks, [&state] {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24);
    });
    QStringList a = tracks, b = shuffled;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    require(a == b, "the shuffle lost or invented a track");
    return 0;
}
