#include "Class1.h"

#include "common/AsRunLog.h"

#include <alsa/asoundlib.h>
#include <bit>

namespace campanor {

const QString Class1::kNoMixerMessage = QStringLiteral("找不到声卡混音器！");

namespace {

// The stored card, once it has been found; empty for the first card.
QString storedDevice;

QString environmentDevice() {
    return qEnvironmentVariable("CAMPANOR_MIXER_DEVICE").trimmed();
}

} // namespace

QString Class1::deviceName() {
    if (const QString device = environmentDevice(); !device.isEmpty())
        return device;
    return storedDevice.isEmpty() ? QStringLiteral("hw:0") : storedDevice;
}

void Class1::useStoredDevice(const QString& device,
                             const std::function<void(const QString&)>& missing) {
    storedDevice = device;
    if (device.isEmpty() || !environmentDevice().isEmpty())
        return;
    const Class1 mixer({}, device);
    if (mixer.opened())
        return;
    storedDevice.clear();
    const QString text =
        QStringLiteral("找不到已选的混音器声卡 %1（%2），线路输入和麦克风的开关改用"
                       "第一块声卡 hw:0")
            .arg(device, mixer.lastError());
    reportProblem(QStringLiteral("声音设备：") + text);
    if (missing)
        missing(text);
}

Class1::Class1(const std::function<void(const QString&)>& noMixer, const QString& name) {
    const QByteArray device = (name.isEmpty() ? deviceName() : name).toUtf8();
    lastResult_ = snd_mixer_open(&mixer_, 0);
    if (lastResult_ == 0)
        lastResult_ = snd_mixer_attach(mixer_, device.constData());
    if (lastResult_ == 0)
        lastResult_ = snd_mixer_selem_register(mixer_, nullptr, nullptr);
    if (lastResult_ == 0)
        lastResult_ = snd_mixer_load(mixer_);
    if (lastResult_ < 0) {
        if (mixer_)
            snd_mixer_close(mixer_);
        mixer_ = nullptr;
        if (noMixer)
            noMixer(kNoMixerMessage);
        return;
    }
    findLine(Master, {"Master"});
    findLine(Microphone, {"Mic"});
    findLine(Wave, {"PCM"});
    // Cards without a line input often wire the radio feed to the auxiliary input.
    findLine(LineIn, {"Line", "Aux"});
    findLine(CD, {"CD"});
    findLine(Midi, {"Synth"});
}

QString Class1::lastError() const {
    return QString::fromLocal8Bit(snd_strerror(lastResult_));
}

QStringList Class1::elementNames() const {
    QStringList names;
    if (!mixer_)
        return names;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer_); element;
         element = snd_mixer_elem_next(element)) {
        const QString name = QString::fromUtf8(snd_mixer_selem_get_name(element));
        const unsigned index = snd_mixer_selem_get_index(element);
        names << (index == 0 ? name : QStringLiteral("%1 %2").arg(name).arg(index));
    }
    return names;
}

Class1::~Class1() {
    if (mixer_)
        snd_mixer_close(mixer_);
}

int Class1::indexOf(Line line) {
    return std::countr_zero(unsigned(line));
}

snd_mixer_elem_t* Class1::findElement(const char* name) const {
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    return snd_mixer_find_selem(mixer_, id);
}

void Class1::findLine(Line line, std::initializer_list<const char*> names) {
    LineState& state = lines_[indexOf(line)];
    for (const char* name : names) {
        snd_mixer_elem_t* element = findElement(name);
        if (!element || !snd_mixer_selem_has_playback_volume(element))
            continue;
        state.element = element;
        lastResult_ = snd_mixer_selem_get_playback_volume_range(element, &state.min, &state.max);
        volumeMask_ |= line;
        if (snd_mixer_selem_has_playback_switch(element))
            muteMask_ |= line;
        return;
    }
}

std::pair<int, int> Class1::bounds(Line line) const {
    const LineState& state = lines_[indexOf(line)];
    return {int(state.min), int(state.max)};
}

int Class1::volume(Line line) const {
    if (!volumeFound(line))
        return 0;
    long value = 0;
    lastResult_ = snd_mixer_selem_get_playback_volume(lines_[indexOf(line)].element,
                                                      SND_MIXER_SCHN_FRONT_LEFT, &value);
    return lastResult_ < 0 ? 0 : int(value);
}

void Class1::setVolume(Line line, int value) {
    if (!volumeFound(line))
        return;
    const LineState& state = lines_[indexOf(line)];
    const long clamped = std::min(std::max(long(value), state.min), state.max);
    lastResult_ = snd_mixer_selem_set_playback_volume_all(state.element, clamped);
}

int Class1::mute(Line line) const {
    if (!muteFound(line))
        return 0;
    int on = 1;
    lastResult_ = snd_mixer_selem_get_playback_switch(lines_[indexOf(line)].element,
                                                      SND_MIXER_SCHN_FRONT_LEFT, &on);
    return lastResult_ < 0 ? 0 : (on ? 0 : 1);
}

void Class1::setMute(Line line, int value) {
    if (!muteFound(line))
        return;
    lastResult_ =
        snd_mixer_selem_set_playback_switch_all(lines_[indexOf(line)].element, value == 0 ? 1 : 0);
}

} // namespace campanor
