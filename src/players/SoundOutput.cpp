#include "SoundOutput.h"

#include "common/AsRunLog.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <condition_variable>
#include <gst/gst.h>
#include <memory>
#include <mutex>

namespace campanor::soundOutput {

namespace {

// A sound server or a card answers within a few tens of milliseconds; an
// output that has taken this long is not going to play.
constexpr GstClockTime kProbeTimeout = 1500 * GST_MSECOND;

struct Check {
    QString description;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    QString failure;
};

// The check of the stored output; only the window's thread touches these.
std::shared_ptr<Check> current;
std::function<void(const QString&)> missingNotice;
bool said = false;

void sayMissing(const Check& check) {
    if (said)
        return;
    said = true;
    const QString text = QStringLiteral("找不到已选的声音输出 %1（%2），改用默认输出")
                             .arg(check.description, check.failure);
    reportProblem(QStringLiteral("声音设备：") + text);
    if (missingNotice)
        missingNotice(text);
}

} // namespace

QString failureOf(const QString& description) {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    const QByteArray launch =
        "audiotestsrc num-buffers=1 ! audioconvert ! audioresample ! " + description.toUtf8();
    GError* error = nullptr;
    GstElement* probe = gst_parse_launch(launch.constData(), &error);
    // A property the element does not know is passed over, as the players
    // pass it over; an element that is not there is the output missing.
    QString why;
    if (!probe || g_error_matches(error, GST_PARSE_ERROR, GST_PARSE_ERROR_NO_SUCH_ELEMENT))
        why = error ? QString::fromUtf8(error->message) : QStringLiteral("无法建立");
    g_clear_error(&error);
    if (!why.isEmpty()) {
        if (probe)
            gst_object_unref(probe);
        return why;
    }
    if (gst_element_set_state(probe, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(probe, nullptr, nullptr, kProbeTimeout) != GST_STATE_CHANGE_SUCCESS) {
        why = QStringLiteral("没有回应");
        GstBus* bus = gst_element_get_bus(probe);
        if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            gst_message_parse_error(message, &error, nullptr);
            if (error)
                why = QString::fromUtf8(error->message);
            g_clear_error(&error);
            gst_message_unref(message);
        }
        gst_object_unref(bus);
    }
    gst_element_set_state(probe, GST_STATE_NULL);
    gst_object_unref(probe);
    return why;
}

void useStored(const QString& description, std::function<void(const QString&)> missing) {
    missingNotice = std::move(missing);
    said = false;
    current.reset();
    if (description.trimmed().isEmpty())
        return;
    auto check = std::make_shared<Check>();
    check->description = description.trimmed();
    current = check;
    // The environment wins: what is stored is not played now, nor checked.
    if (!qEnvironmentVariableIsEmpty("CAMPANOR_AUDIO_SINK")) {
        check->done = true;
        return;
    }
    // On the application's pool, which the program's end waits for.
    QThreadPool::globalInstance()->start([check] {
        const QString failure = failureOf(check->description);
        {
            const std::lock_guard hold(check->lock);
            check->failure = failure;
            check->done = true;
            check->finished.notify_all();
        }
        // Said when the check ends, not only when a player is built: the
        // operator learns it at the start.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [check] {
                    if (current == check && !check->failure.isEmpty())
                        sayMissing(*check);
                },
                Qt::QueuedConnection);
    });
}

QString storedInUse() {
    if (!current)
        return {};
    const std::shared_ptr<Check> check = current;
    {
        std::unique_lock hold(check->lock);
        if (!check->finished.wait_for(hold, std::chrono::milliseconds(kCheckWaitMs),
                                      [&] { return check->done; }))
            return check->description;
        if (check->failure.isEmpty())
            return check->description;
    }
    sayMissing(*check);
    return {};
}

} // namespace campanor::soundOutput
