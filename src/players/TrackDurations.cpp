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
    bool withoutSound = false;
};

GstDiscoverer* discoverer() {
    static GstDiscoverer* instance = [] {
        if (!gst_is_initialized())
            gst_init(nullptr, nullptr);
        return gst_discoverer_new(kProbeTimeout, nullptr);
    }();
    return instance;
}

Known discover(const QString& path) {
    Known found;
    GstDiscoverer* probe = discoverer();
    if (!probe)
        return found;
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GstDiscovererInfo* info = gst_discoverer_discover_uri(probe, uri.constData(), nullptr);
    if (!info)
        return found;
    if (gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
        GList* audio = gst_discoverer_info_get_audio_streams(info);
        if (audio)
            found.seconds = double(gst_discoverer_info_get_duration(info)) / GST_SECOND;
        else
            found.withoutSound = true;
        gst_discoverer_stream_info_list_free(audio);
    }
    g_object_unref(info);
    return found;
}

Known probe(const QString& path) {
    static QHash<QString, Known> known;
    const QFileInfo file(path);
    if (!file.isFile() || file.size() == 0)
        return {};
    auto found = known.find(path);
    if (found != known.end() && found->size == file.size() &&
        found->modified == file.lastModified())
        return *found;
    Known fresh = discover(path);
    fresh.size = file.size();
    fresh.modified = file.lastModified();
    known.insert(path, fresh);
    return fresh;
}

} // namespace

double probeDuration(const QString& path) {
    return probe(path).seconds;
}

bool probedWithoutSound(const QString& path) {
    return probe(path).withoutSound;
}

} // namespace campanor
