#pragma once

#include <QObject>
#include <QString>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace campanor {

// One file at a time over a GStreamer playbin3. Setting FileName opens the
// file and starts it at once; the duration is known right after that.
// CAMPANOR_AUDIO_SINK (a gst-launch description) replaces autoaudiosink.
class MediaPlayer : public QObject {
    Q_OBJECT
  public:
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2, Closed = 6 };

    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    // A path opens the file and plays it from the start (also the same path
    // again); the empty text stops and releases the file.
    void setFileName(const QString& path);
    QString fileName() const { return fileName_; }

    void Play();
    void Pause();
    void Stop();

    double currentPosition() const;
    void setCurrentPosition(double seconds);
    // Seconds; 0 when the length is not known.
    double duration() const { return duration_; }
    PlayState playState() const { return state_; }

    // Hundredths of a decibel, 0 = full volume.
    void setVolume(int hundredthsOfDb);
    int volume() const { return volume_; }
    // -10000 (left) to 10000 (right).
    void setBalance(int balance);
    int balance() const { return balance_; }
    void setMute(bool mute);
    bool mute() const { return mute_; }

    // Opens a file once through a throwaway pipeline so that its decoders are
    // loaded before the first scheduled sound needs them.
    static void warmUp(const QString& path);

    // The sink description in use.
    static QString sinkDescription();

  signals:
    // Once per opened file, on the UI thread, when it has played to its end.
    void endOfStream();
    void failed(const QString& message);

  private:
    bool buildPipeline();
    void destroyPipeline();
    bool openCurrentFile();
    void applyVolume();
    void queryDuration();
    bool handleMessage(GstMessage* message);
    static int busCallback(GstBus* bus, GstMessage* message, void* self);

    GstElement* pipeline_ = nullptr;
    GstElement* panorama_ = nullptr;
    unsigned busWatch_ = 0;

    QString fileName_;
    double duration_ = 0;
    PlayState state_ = Closed;
    bool ended_ = false;
    int volume_ = 0;
    int balance_ = 0;
    bool mute_ = false;
};

} // namespace campanor
