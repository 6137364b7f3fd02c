#include "MediaPlayer.h"

#include "SoundOutput.h"
#include "TrackDurations.h"
#include "common/AsRunLog.h"

#include <QTimer>
#include <QUrl>
#include <gst/audio/streamvolume.h>
#include <gst/gst.h>

namespace campanor {

namespace {

// The preroll normally takes a few tens of milliseconds; a pipeline that has
// not prerolled in this time is stuck and gets rebuilt.
constexpr GstClockTime kPrerollTimeout = 1500 * GST_MSECOND;

// playbin flags: audio and software volume only. Files with video then play
// their sound without any video sink being involved.
constexpr int kPlayFlagAudio = 0x02;
constexpr int kPlayFlagSoftVolume = 0x10;

void ensureGstreamer() {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

QByteArray uriOf(const QString& path) {
    return QUrl::fromLocalFile(path).toEncoded();
}

GstElement* makePlaybin(const QString& sink, GstElement** panorama) {
    // playbin, not playbin3: its hand-over to the next file is the proven
    // one (playbin3 of GStreamer 1.22 aborts when the next file's streams differ).
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return nullptr;
    g_object_set(playbin, "flags", kPlayFlagAudio | kPlayFlagSoftVolume, nullptr);
    g_object_set(playbin, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);

    // Balance inside the sink bin: as playbin's audio filter it lags by about a second.
    const QByteArray description = "audioconvert ! audiopanorama method=simple name=pan ! "
                                   "audioconvert ! audioresample ! " +
                                   sink.toUtf8();
    GError* error = nullptr;
    GstElement* bin = gst_parse_bin_from_description(description.constData(), TRUE, &error);
    if (error) {
        g_warning("audio sink \"%s\": %s", description.constData(), error->message);
        g_clear_error(&error);
    }
    if (bin) {
        g_object_set(playbin, "audio-sink", bin, nullptr);
        if (panorama)
            *panorama = gst_bin_get_by_name(GST_BIN(bin), "pan");
    }
    return playbin;
}

} // namespace

QString MediaPlayer::sinkDescription() {
    if (const QString sink = qEnvironmentVariable("CAMPANOR_AUDIO_SINK").trimmed(); !sink.isEmpty())
        return sink;
    const QString stored = soundOutput::storedInUse();
    return stored.isEmpty() ? QStringLiteral("autoaudiosink") : stored;
}

MediaPlayer::MediaPlayer(QObject* parent, const QString& sink)
    : MediaControl(parent), sink_(sink.isEmpty() ? sinkDescription() : sink) {
    ensureGstreamer();
    buildPipeline();
}

bool MediaPlayer::fromOutput(GstMessage* message) {
    if (!GST_IS_ELEMENT(GST_MESSAGE_SRC(message)))
        return false;
    GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(GST_MESSAGE_SRC(message)));
    const gchar* klass =
        factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
    // The video sink is a fakesink: it never loses anything.
    return klass && g_strrstr(klass, "Sink/Audio");
}

bool MediaPlayer::outputReachable() const {
    return soundOutput::failureOf(sink_).isEmpty();
}

void MediaPlayer::outputLost(const QString& why, double position, PlayState resumeState) {
    if (pipeline_)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
    resumeAt_ = position;
    resumeState_ = resumeState;
    if (!outputGone_)
        reportProblem(QStringLiteral("声音输出中断（%1）：%2 停在第 %3 秒，每秒重试一次，"
                                     "直到输出恢复")
                          .arg(why, fileName_)
                          .arg(position, 0, 'f', 1));
    outputGone_ = true;
    if (!outputRetry_) {
        outputRetry_ = new QTimer(this);
        connect(outputRetry_, &QTimer::timeout, this, &MediaPlayer::retryOutput);
    }
    outputRetry_->start(kOutputRetryMs);
}

void MediaPlayer::retryOutput() {
    if (!outputGone_ || fileName_.isEmpty()) {
        outputGone_ = false;
        outputRetry_->stop();
        return;
    }
    if (!outputReachable())
        return;
    outputGone_ = false;
    outputRetry_->stop();
    // A fresh pipeline: the old sink's connection is dead.
    destroyPipeline();
    awaitingFirstStart_ = true;
    if (!openCurrentFile()) {
        state_ = Stopped;
        emit failed(fileName_, QStringLiteral("无法打开或解码"));
        return;
    }
    queryDuration();
    if (resumeAt_ > 0)
        gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                gint64(resumeAt_ * GST_SECOND));
    if (resumeState_ == Playing)
        gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    state_ = resumeState_;
    AsRunLog::write(
        QStringLiteral("声音输出恢复：%1 从第 %2 秒继续").arg(fileName_).arg(resumeAt_, 0, 'f', 1));
}

MediaPlayer::~MediaPlayer() {
    destroyPipeline();
}

bool MediaPlayer::buildPipeline() {
    pipeline_ = makePlaybin(sink_, &panorama_);
    if (!pipeline_)
        return false;
    GstBus* bus = gst_element_get_bus(pipeline_);
    busWatch_ =
        gst_bus_add_watch(bus, reinterpret_cast<GstBusFunc>(&MediaPlayer::busCallback), this);
    gst_object_unref(bus);
    g_signal_connect(pipeline_, "about-to-finish", G_CALLBACK(&MediaPlayer::aboutToFinish), this);
    applyVolume();
    setBalance(balance_);
    setMute(mute_);
    return true;
}

void MediaPlayer::destroyPipeline() {
    if (busWatch_) {
        g_source_remove(busWatch_);
        busWatch_ = 0;
    }
    if (panorama_) {
        gst_object_unref(panorama_);
        panorama_ = nullptr;
    }
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
        pipeline_ = nullptr;
    }
}

bool MediaPlayer::openCurrentFile() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!pipeline_ && !buildPipeline())
            return false;
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        g_object_set(pipeline_, "uri", uriOf(fileName_).constData(), nullptr);
        if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
            gst_element_set_state(pipeline_, GST_STATE_NULL);
            return false;
        }
        const GstStateChangeReturn preroll =
            gst_element_get_state(pipeline_, nullptr, nullptr, kPrerollTimeout);
        if (preroll == GST_STATE_CHANGE_NO_PREROLL)
            return true;
        if (preroll == GST_STATE_CHANGE_SUCCESS) {
            // A file with no sound stream (a video alone) prerolls with
            // nothing to play, and playbin does not always say so afterwards:
            // now and then it sits in PLAYING for ever with neither an error
            // nor an end. Its stream count is not reliable this early, so a
            // count of none is checked against the file itself.
            gint audioStreams = 0;
            g_object_get(pipeline_, "n-audio", &audioStreams, nullptr);
            if (audioStreams > 0 || !probedWithoutSound(fileName_))
                return true;
            gst_element_set_state(pipeline_, GST_STATE_NULL);
            return false;
        }
        if (preroll == GST_STATE_CHANGE_FAILURE) {
            gst_element_set_state(pipeline_, GST_STATE_NULL);
            return false;
        }
        // Stuck before preroll: a fresh pipeline gets one more try.
        destroyPipeline();
    }
    return false;
}

void MediaPlayer::setFileName(const QString& path) {
    fileName_ = path;
    duration_ = 0;
    ended_ = false;
    {
        // A hand-over in flight belonged to the old file. The follower set
        // before this call stays: it follows the file now opened.
        const std::lock_guard lock(nextLock_);
        handedOver_.clear();
        if (path.isEmpty())
            next_.clear();
    }
    if (path.isEmpty()) {
        if (pipeline_)
            gst_element_set_state(pipeline_, GST_STATE_NULL);
        state_ = Closed;
        outputGone_ = false;
        return;
    }
    awaitingFirstStart_ = true;
    if (outputGone_ || !openCurrentFile()) {
        // Not the file's fault while the output is away: it starts once that is back.
        if (outputGone_ || !outputReachable()) {
            state_ = Playing;
            outputLost(QStringLiteral("no output"), 0, Playing);
            return;
        }
        state_ = Stopped;
        emit failed(path, QStringLiteral("无法打开或解码"));
        return;
    }
    queryDuration();
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    state_ = Playing;
    // Some files (MP3 without a length header, MP2) tell their length only
    // after a while of playing: measure it instead, once the sound has started.
    if (duration_ <= 0)
        duration_ = durationOf(path);
}

void MediaPlayer::setNextFileName(const QString& path) {
    const std::lock_guard lock(nextLock_);
    next_ = path;
}

double MediaPlayer::durationOf(const QString& path) {
    return probeDuration(path);
}

GstElement* MediaPlayer::outputElement(const char* name) const {
    if (!pipeline_)
        return nullptr;
    GstElement* sink = nullptr;
    g_object_get(pipeline_, "audio-sink", &sink, nullptr);
    if (!sink)
        return nullptr;
    GstElement* found = GST_IS_BIN(sink) ? gst_bin_get_by_name(GST_BIN(sink), name) : nullptr;
    gst_object_unref(sink);
    if (found)
        gst_object_unref(found); // the bin keeps it alive as long as the pipeline
    return found;
}

void MediaPlayer::aboutToFinish(GstElement* playbin, void* self) {
    auto* player = static_cast<MediaPlayer*>(self);
    const std::lock_guard lock(player->nextLock_);
    if (player->next_.isEmpty())
        return;
    g_object_set(playbin, "uri", uriOf(player->next_).constData(), nullptr);
    player->handedOver_ = player->next_;
    player->next_.clear();
}

void MediaPlayer::nextTookOver() {
    QString path;
    {
        const std::lock_guard lock(nextLock_);
        path = handedOver_;
        handedOver_.clear();
    }
    if (path.isEmpty())
        return;
    fileName_ = path;
    ended_ = false;
    duration_ = 0;
    queryDuration();
    if (duration_ <= 0)
        duration_ = durationOf(path);
    emit nextStarted(path);
}

void MediaPlayer::Play() {
    if (outputGone_ && state_ != Closed) {
        if (resumeState_ == Stopped)
            resumeAt_ = 0;
        state_ = resumeState_ = Playing;
        return;
    }
    if (!pipeline_ || fileName_.isEmpty() || state_ == Closed)
        return;
    if (ended_) {
        gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
        ended_ = false;
    }
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE)
        state_ = Playing;
}

void MediaPlayer::Pause() {
    if (outputGone_ && state_ != Closed) {
        state_ = resumeState_ = Paused;
        return;
    }
    if (!pipeline_ || state_ == Closed)
        return;
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    state_ = Paused;
}

void MediaPlayer::Stop() {
    if (outputGone_ && state_ != Closed) {
        state_ = resumeState_ = Stopped;
        resumeAt_ = 0;
        return;
    }
    if (!pipeline_ || state_ == Closed)
        return;
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    gst_element_get_state(pipeline_, nullptr, nullptr, kPrerollTimeout);
    gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
    ended_ = false;
    state_ = Stopped;
}

double MediaPlayer::currentPosition() const {
    if (outputGone_)
        return resumeAt_;
    if (!pipeline_ || state_ == Closed)
        return 0;
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0)
        return 0;
    return double(position) / GST_SECOND;
}

void MediaPlayer::setCurrentPosition(double seconds) {
    if (outputGone_) {
        resumeAt_ = qMax(0.0, seconds);
        return;
    }
    if (!pipeline_ || state_ == Closed)
        return;
    const gint64 target = gint64(qMax(0.0, seconds) * GST_SECOND);
    gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target);
    ended_ = false;
}

void MediaPlayer::queryDuration() {
    gint64 length = 0;
    if (pipeline_ && gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &length) && length > 0)
        duration_ = double(length) / GST_SECOND;
}

void MediaPlayer::applyVolume() {
    if (!pipeline_)
        return;
    const double linear = gst_stream_volume_convert_volume(
        GST_STREAM_VOLUME_FORMAT_DB, GST_STREAM_VOLUME_FORMAT_LINEAR, volume_ / 100.0);
    g_object_set(pipeline_, "volume", qBound(0.0, linear, 1.0), nullptr);
}

void MediaPlayer::setVolume(int hundredthsOfDb) {
    volume_ = qMin(hundredthsOfDb, 0);
    applyVolume();
}

void MediaPlayer::setBalance(int balance) {
    balance_ = qBound(-10000, balance, 10000);
    if (panorama_)
        g_object_set(panorama_, "panorama", float(balance_ / 10000.0), nullptr);
}

void MediaPlayer::setMute(bool mute) {
    mute_ = mute;
    if (pipeline_)
        g_object_set(pipeline_, "mute", gboolean(mute), nullptr);
}

int MediaPlayer::busCallback(GstBus*, GstMessage* message, void* self) {
    return static_cast<MediaPlayer*>(self)->handleMessage(message) ? TRUE : FALSE;
}

bool MediaPlayer::handleMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        if (!ended_ && state_ == Playing) {
            ended_ = true;
            state_ = Stopped;
            emit endOfStream();
        }
        break;
    case GST_MESSAGE_DURATION_CHANGED: {
        const double before = duration_;
        queryDuration();
        if (state_ != Closed && duration_ != before)
            emit durationChanged(duration_);
        break;
    }
    case GST_MESSAGE_STREAM_START:
        if (awaitingFirstStart_)
            awaitingFirstStart_ = false;
        else
            nextTookOver();
        break;
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const QString text = QString::fromUtf8(error ? error->message : "error");
        g_clear_error(&error);
        if (state_ == Closed || outputGone_)
            break;
        if (fromOutput(message)) {
            outputLost(text, currentPosition(), state_);
            break;
        }
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
        state_ = Stopped;
        emit failed(fileName_, text);
        break;
    }
    default:
        break;
    }
    return true;
}

void MediaPlayer::warmUp(const QString& path) {
    ensureGstreamer();
    GstElement* playbin = makePlaybin(QStringLiteral("fakesink"), nullptr);
    if (!playbin)
        return;
    g_object_set(playbin, "uri", uriOf(path).constData(), nullptr);
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE)
        gst_element_get_state(playbin, nullptr, nullptr, kPrerollTimeout);
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
}

} // namespace campanor
