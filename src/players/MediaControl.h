#pragma once

#include <QObject>
#include <QString>

namespace campanor {

// What the players use of a media player: one file at a time; setting a file
// name opens it and starts playing at once, with its duration known.
class MediaControl : public QObject {
    Q_OBJECT
  public:
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2, Closed = 6 };

    using QObject::QObject;

    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    virtual double duration() const = 0;
    virtual PlayState playState() const = 0;
    virtual void setVolume(int hundredthsOfDb) = 0;
    virtual int volume() const = 0;
    virtual void setBalance(int balance) = 0;
    virtual int balance() const = 0;
    virtual void setMute(bool mute) = 0;
    virtual bool mute() const = 0;

    // The track to follow the open one without a gap; empty for none. Set
    // it before opening a file too: it then follows that file. A media that
    // cannot hand over ends the track as usual instead.
    virtual void setNextFileName(const QString& path) { Q_UNUSED(path); }
    // The length of a file in seconds without playing it; 0 when unknown.
    virtual double durationOf(const QString& path) = 0;

  signals:
    // Once per opened file, on the UI thread, when it has played to its end.
    void endOfStream();
    // The file cannot be opened or decoded; it is not playing.
    void failed(const QString& path, const QString& message);
    // The length became known (or changed) after the file was opened.
    void durationChanged(double seconds);
    // The next file took over from the one that ended, without a gap.
    void nextStarted(const QString& path);
};

} // namespace campanor
