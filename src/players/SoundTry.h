#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace campanor {

// Plays one sound file once on a chosen output, to hear that output: the
// output is opened on GStreamer's own threads, never on the caller's, and the
// outcome comes back as a signal.
class SoundTry : public QObject {
    Q_OBJECT
  public:
    // An output that has not started to play by then has failed.
    static constexpr int kAnswerMs = 5000;
    // A long file is cut off here: a try, not a concert.
    static constexpr int kLongestMs = 10000;

    explicit SoundTry(QObject* parent = nullptr);
    ~SoundTry() override;

    void start(const QString& path, const QString& sinkDescription);
    void stop();
    bool running() const { return pipeline_ != nullptr; }

  signals:
    // The sound has reached the output.
    void playing();
    // The try is over; `failure` says why it did not play, empty when it did.
    void finished(const QString& failure);

  private:
    void finish(const QString& failure);
    bool handleMessage(GstMessage* message);
    static int busCallback(GstBus* bus, GstMessage* message, void* self);

    GstElement* pipeline_ = nullptr;
    unsigned busWatch_ = 0;
    bool started_ = false;
    QTimer answer_;
    QTimer longest_;
};

} // namespace campanor
