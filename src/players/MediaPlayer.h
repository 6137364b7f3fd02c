#pragma once

#include "MediaControl.h"

#include <mutex>

class QTimer;

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace campanor {

// One file at a time over a GStreamer playbin. Setting FileName opens the
// file and starts it at once; the duration is known right after that. A next
// file handed over in advance follows the open one without a gap.
// It plays through sinkDescription() unless told otherwise.
class MediaPlayer : public MediaControl {
    Q_OBJECT
  public:
    // `sink` (a gst-launch description) overrides CAMPANOR_AUDIO_SINK.
    explicit MediaPlayer(QObject* parent = nullptr, const QString& sink = QString());
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

    void setNextFileName(const QString& path) override;
    double durationOf(const QString& path) override;

    // An element of the output, by the name the sink description gives it
    // (for measuring what reaches the sink); nullptr when there is none.
    GstElement* outputElement(const char* name) const;

    // Opens a file once through a throwaway pipeline so that its decoders are
    // loaded before the first scheduled sound needs them.
    static void warmUp(const QString& path);

    // The one output every player is built on: CAMPANOR_AUDIO_SINK (a
    // gst-launch description) when set, else the operator's stored output
    // while it plays, else autoaudiosink.
    static QString sinkDescription();
    // The sink description this player plays through.
    const QString& sink() const { return sink_; }

    // The output (the sound server, the card) is gone: the open file, its
    // position and whether it plays are kept, and the output is tried again
    // every second; the file goes on from there once it is back.
    bool outputGone() const { return outputGone_; }
    static constexpr int kOutputRetryMs = 1000;

  private:
    bool buildPipeline();
    void destroyPipeline();
    bool openCurrentFile();
    void applyVolume();
    void queryDuration();
    bool handleMessage(GstMessage* message);
    void nextTookOver();
    static int busCallback(GstBus* bus, GstMessage* message, void* self);
    static void aboutToFinish(GstElement* playbin, void* self);
    // Whether the message comes from the output rather than the file.
    static bool fromOutput(GstMessage* message);
    // Whether a short sound reaches the output now.
    bool outputReachable() const;
    void outputLost(const QString& why, double position, PlayState resumeState);
    void retryOutput();

    QString sink_;
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

    // Shared with the streaming thread, which asks for the next file when
    // the open one has been read to its end.
    std::mutex nextLock_;
    QString next_;
    QString handedOver_;
    // The first stream start after opening belongs to the opened file.
    bool awaitingFirstStart_ = false;

    bool outputGone_ = false;
    double resumeAt_ = 0;
    PlayState resumeState_ = Closed;
    QTimer* outputRetry_ = nullptr;
};

} // namespace campanor
