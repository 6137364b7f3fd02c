#include "TrackDurations.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QUrl>
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>

namespace campanor {

namespace {

// A file that has not been understood in this time is taken as unplayable.
constexpr GstClockTime kProbeTimeout = 5 * GST_SECOND;

struct Known {
    qint64 size = 0;
    QDateTime modified;
    double seconds = 0;
};

GstDiscoverer* discoverer() {
    static GstDiscoverer* instance = [] {
        if (!gst_is_initialized())
            gst_init(nullptr, nullptr);
        return gst_discoverer_new(kProbeTimeout, nullptr);
    }();
    return instance;
}

double discover(const QString& path) {
    GstDiscoverer* probe = discoverer();
    if (!probe)
        return 0;
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GstDiscovererInfo* info = gst_discoverer_discover_uri(probe, uri.constData(), nullptr);
    if (!info)
        return 0;
    double seconds = 0;
    if (gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
        GList* audio = gst_discoverer_info_get_audio_streams(info);
        if (audio)
            seconds = double(gst_discoverer_info_get_duration(info)) / GST_SECOND;
        gst_discoverer_stream_info_list_free(audio);
    }
    g_object_unref(info);
    return seconds;
}

} // namespace

double probeDuration(const QString& path) {
    static QHash<QString, Known> known;
    const QFileInfo file(path);
    if (!file.isFile() || file.size() == 0)
        return 0;
    const auto found = known.constFind(path);
    if (found != known.cend() && found->size == file.size() &&
        found->modified == file.lastModified())
        return found->seconds;
    const double seconds = discover(path);
    known.insert(path, Known{file.size(), file.lastModified(), seconds});
    return seconds;
}

} // namespace campanor
