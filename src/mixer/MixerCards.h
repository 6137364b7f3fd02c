#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace campanor {

// A sound card (or a control device of the ALSA configuration) whose mixer
// can be opened, as the line-input and microphone switches would open it.
struct MixerCard {
    // What the switches open: "hw:CARD=<id>", which stays the card's when
    // cards are numbered anew, or the configuration's name for the device.
    QString device;
    QString name;
    QStringList elements;
    bool lineSwitch = false;
    bool micSwitch = false;
};

// The cards of the machine, then the control devices the ALSA configuration
// defines by a plain name (a ~/.asoundrc entry, a sound server's control).
// Opens every one of them: call it off the window's thread.
QList<MixerCard> listMixerCards();

} // namespace campanor
