#pragma once

#include <QString>

namespace campanor {

// The length of a sound file in seconds, found without playing it (the file
// is read and parsed, not decoded in real time); 0 when the file cannot be
// played or holds no sound. Lengths are remembered while the file is unchanged.
double probeDuration(const QString& path);

// True only when the file was understood and holds no sound stream at all (a
// video alone, say); a file that could not be understood is not judged here.
bool probedWithoutSound(const QString& path);

} // namespace campanor
