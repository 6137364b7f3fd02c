#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace campanor {

// Volume and mute of six lines of the sound card's mixer, over alsa-lib's
// simple mixer. Short-lived: creating it opens the control device and finds
// the lines, destroying it closes the device, so a card plugged in between
// two switches is found. Mute is the line's playback switch turned off.
class Class1 {
  public:
    enum Line { Master = 1, Microphone = 2, Wave = 4, LineIn = 8, CD = 16, Midi = 32 };

    // `noMixer` is told kNoMixerMessage when the device cannot be opened.
    // `device` is deviceName() unless given.
    explicit Class1(const std::function<void(const QString&)>& noMixer = {},
                    const QString& device = QString());
    ~Class1();
    Class1(const Class1&) = delete;
    Class1& operator=(const Class1&) = delete;

    // CAMPANOR_MIXER_DEVICE, else the stored card in use, else "hw:0" (the first card).
    static QString deviceName();
    // The operator's stored card (empty: the first card) for the switches
    // from now on. One that cannot be opened is said once (the as-run log and
    // `missing`), and the first card serves instead. While
    // CAMPANOR_MIXER_DEVICE is set it wins, and nothing is checked.
    static void useStoredDevice(const QString& device,
                                const std::function<void(const QString&)>& missing = {});
    static const QString kNoMixerMessage;

    int MinWaveVolume() const { return bounds(Master).first; }
    int MaxWaveVolume() const { return bounds(Master).second; }
    int MinMicVolume() const { return bounds(Microphone).first; }
    int MaxMicVolume() const { return bounds(Microphone).second; }
    int MinWavInVolume() const { return bounds(Wave).first; }
    int MaxWavInVolume() const { return bounds(Wave).second; }
    int MinLineInVolume() const { return bounds(LineIn).first; }
    int MaxLineInVolume() const { return bounds(LineIn).second; }
    int MinCDVolume() const { return bounds(CD).first; }
    int MaxCDVolume() const { return bounds(CD).second; }
    int MinMidVolume() const { return bounds(Midi).first; }
    int MaxMidVolume() const { return bounds(Midi).second; }

    int WaveVolume() const { return volume(Master); }
    void setWaveVolume(int NewVolume) { setVolume(Master, NewVolume); }
    int MicroVolume() const { return volume(Microphone); }
    void setMicroVolume(int NewVolume) { setVolume(Microphone, NewVolume); }
    int WaveInVolume() const { return volume(Wave); }
    void setWaveInVolume(int NewVolume) { setVolume(Wave, NewVolume); }
    int LineInVolume() const { return volume(LineIn); }
    void setLineInVolume(int NewVolume) { setVolume(LineIn, NewVolume); }
    int CD_Volume() const { return volume(CD); }
    void setCD_Volume(int NewVolume) { setVolume(CD, NewVolume); }
    int MIDIVolume() const { return volume(Midi); }
    void setMIDIVolume(int NewVolume) { setVolume(Midi, NewVolume); }

    int WaveMute() const { return mute(Master); }
    void setWaveMute(int NewValue) { setMute(Master, NewValue); }
    int MicroMute() const { return mute(Microphone); }
    void setMicroMute(int NewValue) { setMute(Microphone, NewValue); }
    int WaveInMute() const { return mute(Wave); }
    void setWaveInMute(int NewValue) { setMute(Wave, NewValue); }
    int LineInMute() const { return mute(LineIn); }
    void setLineInMute(int NewValue) { setMute(LineIn, NewValue); }
    int CD_Mute() const { return mute(CD); }
    void setCD_Mute(int NewValue) { setMute(CD, NewValue); }
    int MIDIMute() const { return mute(Midi); }
    void setMIDIMute(int NewValue) { setMute(Midi, NewValue); }

    bool volumeFound(int lineBit) const { return (volumeMask_ & lineBit) != 0; }
    bool muteFound(int lineBit) const { return (muteMask_ & lineBit) != 0; }
    // The result of the last alsa-lib call (0 or a negative error code).
    int lastResult() const { return lastResult_; }
    // alsa-lib's words for the last result.
    QString lastError() const;
    // The device was opened and its lines looked up.
    bool opened() const { return mixer_ != nullptr; }
    // The names of all the device's simple mixer elements, in its own order.
    QStringList elementNames() const;

  private:
    struct LineState {
        snd_mixer_elem_t* element = nullptr;
        long min = 0;
        long max = 0;
    };

    static int indexOf(Line line);
    snd_mixer_elem_t* findElement(const char* name) const;
    void findLine(Line line, std::initializer_list<const char*> names);
    std::pair<int, int> bounds(Line line) const;
    int volume(Line line) const;
    void setVolume(Line line, int value);
    int mute(Line line) const;
    void setMute(Line line, int value);

    snd_mixer_t* mixer_ = nullptr;
    std::array<LineState, 6> lines_{};
    int volumeMask_ = 0;
    int muteMask_ = 0;
    mutable int lastResult_ = 0;
};

} // namespace campanor
