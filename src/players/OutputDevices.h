#pragma once

#include <QList>
#include <QString>

namespace campanor {

// An output GStreamer's device monitor finds, and the sink description that
// plays through it (what a player is built on and what is stored).
struct OutputDevice {
    QString name;
    QString description;
};

// The outputs of the sound servers (PulseAudio, PipeWire) and of the ALSA
// cards, in the monitor's order. The servers are asked and the cards probed:
// call it off the window's thread.
QList<OutputDevice> listOutputDevices();

} // namespace campanor
