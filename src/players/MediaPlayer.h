#pragma once

#include "MediaControl.h"

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace campanor {

// One file at a time over a GStreamer playbin3. Setting FileName opens the
// file and starts it at once; the duration is known right after that.
// CAMPANOR_AUDIO_SINK (a gst-launch description) replaces autoaudiosink.
class MediaPlayer : public MediaControl {
    Q_OBJECT
  public:
    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    // A path opens the file and plays it from the start (also the same path
    // again); the empty text stops and releases the file.
    void setFileName(const QString& path) override;
    QString fileName() const override { return fileName_; }

    void Play() override;
    void Pause() override;
    void Stop() override;

    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    // Seconds; 0 when the length is not known.
    double duration() const override { return duration_; }
    PlayState playState() const override { return state_; }

    // Hundredths of a decibel, 0 = full volume.
    void setVolume(int hundredthsOfDb) override;
    int volume() const override { return volume_; }
    // -10000 (left) to 10000 (right).
    void setBalance(int balance) override;
    int balance() const override { return balance_; }
    void setMute(bool mute) override;
    bool mute() const override { return mute_; }

    // Opens a file once through a throwaway pipeline so that its decoders are
    // loaded before the first scheduled sound needs them.
    static void warmUp(const QString& path);

    // The sink description in use.
    static QString sinkDescription();

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
