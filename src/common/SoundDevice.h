#pragma once

#include "Settings.h"

#include <QString>

namespace campanor {

// The operator's choice of sound devices, kept in SoundDevice.txt as one
// record "output|mixer": the players' output as a GStreamer sink description
// and the ALSA control device whose lines the line-input and microphone
// actions switch. Either part empty means the default (autoaudiosink, the
// first card). The environment variables still win over it.
struct SoundDevice {
    QString output;
    QString mixer;

    bool operator==(const SoundDevice&) const = default;
};

// The stored choice; a missing file is the default. A file that cannot be
// read, or whose bytes are not GB18030, is the default too, and logged.
SoundDevice readSoundDevice(const Settings& settings);

// False when the file could not be written, or when a part holds what the
// record cannot keep (a quotation mark, a line break, "|" in the mixer).
bool writeSoundDevice(const Settings& settings, const SoundDevice& choice);

} // namespace campanor
