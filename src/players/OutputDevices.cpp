#include "OutputDevices.h"

#include <gst/gst.h>

namespace campanor {

namespace {

// A value as a gst-launch description can hold it unquoted: a quotation
// mark could not be kept by the settings record, so spaces and the like are
// escaped instead.
QString escapedValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        if (!c.isLetterOrNumber() && !QStringLiteral("_-.:,/+@").contains(c))
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

// The factory of an element and the properties set on it apart from what a
// fresh element of the factory holds: "pulsesink
// device=alsa_output.pci-0000_00_1f.3.analog-stereo".
QString describeSink(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
    QString description = QString::fromUtf8(gst_plugin_feature_get_name(factory));
    GstElement* fresh = gst_element_factory_create(factory, nullptr);
    if (!fresh)
        return description;
    gst_object_ref_sink(fresh);
    guint count = 0;
    GParamSpec** specs = g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count);
    for (guint i = 0; i < count; ++i) {
        GParamSpec* spec = specs[i];
        const QByteArray name = g_param_spec_get_name(spec);
        if ((spec->flags & G_PARAM_READWRITE) != G_PARAM_READWRITE ||
            (spec->flags & G_PARAM_CONSTRUCT_ONLY) || name == "name" || name == "parent")
            continue;
        GValue value = G_VALUE_INIT;
        GValue usual = G_VALUE_INIT;
        g_value_init(&value, spec->value_type);
        g_value_init(&usual, spec->value_type);
        g_object_get_property(G_OBJECT(element), name.constData(), &value);
        g_object_get_property(G_OBJECT(fresh), name.constData(), &usual);
        if (g_param_values_cmp(spec, &value, &usual) != 0) {
            if (gchar* text = gst_value_serialize(&value)) {
                description += QStringLiteral(" %1=%2").arg(QString::fromUtf8(name),
                                                            escapedValue(QString::fromUtf8(text)));
                g_free(text);
            }
        }
        g_value_unset(&value);
        g_value_unset(&usual);
    }
    g_free(specs);
    gst_object_unref(fresh);
    return description;
}

QString kindOf(GstElement* element) {
    const QByteArray factory = gst_plugin_feature_get_name(gst_element_get_factory(element));
    if (factory.startsWith("pulse"))
        return QStringLiteral("PulseAudio");
    if (factory.startsWith("pipewire"))
        return QStringLiteral("PipeWire");
    if (factory.startsWith("alsa"))
        return QStringLiteral("ALSA");
    return QString::fromUtf8(factory);
}

} // namespace

QList<OutputDevice> listOutputDevices() {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    QList<OutputDevice> outputs;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
    GList* devices = gst_device_monitor_get_devices(monitor);
    for (GList* item = devices; item; item = item->next) {
        GstDevice* device = GST_DEVICE(item->data);
        GstElement* sink = gst_device_create_element(device, nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        gchar* name = gst_device_get_display_name(device);
        outputs.append({QStringLiteral("%1（%2）").arg(QString::fromUtf8(name), kindOf(sink)),
                        describeSink(sink)});
        g_free(name);
        gst_object_unref(sink);
    }
    g_list_free_full(devices, gst_object_unref);
    gst_object_unref(monitor);
    return outputs;
}

} // namespace campanor
