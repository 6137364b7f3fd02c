#pragma once

#include <QString>
#include <QStringList>

namespace campanor {

// The patterns ("*.ext") of the sound files the players play, matched
// ignoring case: one list for the track picker, the ring dialogs and the
// folder search, so what one offers the others find.
const QStringList& soundFilePatterns();

// Where the pickers start before anything was chosen: the user's music
// folder (XDG_MUSIC_DIR) when it exists, else the home folder.
QString musicFolder();

// The same list as a file dialog's filter ("name|*.a;*.b").
QString soundFileFilter();

} // namespace campanor
