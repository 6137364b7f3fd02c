#include "SoundTry.h"

#include <QFileInfo>
#include <QUrl>
#include <gst/gst.h>

namespace campanor {

namespace {

struct StateChange {
    GstElement* element;
    GstState state;
};

void changeState(gpointer data, gpointer) {
    auto* change = static_cast<StateChange*>(data);
    gst_element_set_state(change->element, change->state);
    gst_object_unref(change->element);
    delete change;
}

// Opening or closing an output can hang on a sound server that does not
// answer: both happen on a thread of their own, one after the other in the
// order asked (a closing never overtakes the opening before it), and that
// thread holds its own reference to the pipeline until then.
void setStateAsync(GstElement* element, GstState state) {
    static GThreadPool* const pool = g_thread_pool_new(&changeState, nullptr, 1, FALSE, nullptr);
    g_thread_pool_push(pool, new StateChange{GST_ELEMENT(gst_object_ref(element)), state}, nullptr);
}

} // namespace

SoundTry::SoundTry(QObject* parent) : QObject(parent) {
    answer_.setSingleShot(true);
    longest_.setSingleShot(true);
    connect(&answer_, &QTimer::timeout, this,
            [this] { finish(QStringLiteral("设备在 %1 秒内没有回应").arg(kAnswerMs / 1000)); });
    connect(&longest_, &QTimer::timeout, this, [this] { finish(QString()); });
}

SoundTry::~SoundTry() {
    stop();
}

void SoundTry::start(const QString& path, const QString& sinkDescription) {
    stop();
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
        // Told once the caller has gone back to its loop, like every other outcome.
        QTimer::singleShot(0, this, [this, path] {
            emit finished(QStringLiteral("铃声文件不存在或无法读取：") + path);
        });
        return;
    }
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    GError* error = nullptr;
    GstElement* sink =
        gst_parse_bin_from_description(sinkDescription.toUtf8().constData(), TRUE, &error);
    const QString why = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!sink || !why.isEmpty() || !playbin) {
        if (sink)
            gst_object_unref(gst_object_ref_sink(sink));
        if (playbin)
            gst_object_unref(playbin);
        QTimer::singleShot(0, this, [this, why] {
            emit finished(why.isEmpty() ? QStringLiteral("无法建立播放") : why);
        });
        return;
    }
    g_object_set(playbin, "audio-sink", sink, "uri",
                 QUrl::fromLocalFile(path).toEncoded().constData(), nullptr);
    g_object_set(playbin, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    pipeline_ = playbin;
    started_ = false;
    GstBus* bus = gst_element_get_bus(pipeline_);
    busWatch_ = gst_bus_add_watch(bus, reinterpret_cast<GstBusFunc>(&SoundTry::busCallback), this);
    gst_object_unref(bus);
    answer_.start(kAnswerMs);
    setStateAsync(pipeline_, GST_STATE_PLAYING);
}

void SoundTry::stop() {
    answer_.stop();
    longest_.stop();
    if (busWatch_) {
        g_source_remove(busWatch_);
        busWatch_ = 0;
    }
    if (pipeline_) {
        setStateAsync(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
        pipeline_ = nullptr;
    }
}

void SoundTry::finish(const QString& failure) {
    if (!pipeline_)
        return;
    stop();
    emit finished(failure);
}

int SoundTry::busCallback(GstBus*, GstMessage* message, void* self) {
    return static_cast<SoundTry*>(self)->handleMessage(message) ? TRUE : FALSE;
}

bool SoundTry::handleMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_STATE_CHANGED: {
        GstState now = GST_STATE_NULL;
        gst_message_parse_state_changed(message, nullptr, &now, nullptr);
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_) && now == GST_STATE_PLAYING &&
            !started_) {
            started_ = true;
            answer_.stop();
            longest_.start(kLongestMs);
            emit playing();
        }
        break;
    }
    case GST_MESSAGE_EOS:
        finish(QString());
        break;
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const QString why = QString::fromUtf8(error ? error->message : "error");
        g_clear_error(&error);
        finish(why);
        break;
    }
    default:
        break;
    }
    return true;
}

} // namespace campanor
