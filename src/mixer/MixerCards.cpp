#include "MixerCards.h"

#include "Class1.h"

#include <alsa/asoundlib.h>

namespace campanor {

namespace {

// "hw:CARD=<id>" and the card's name; an empty device when it cannot be asked.
std::pair<QString, QString> cardNamed(int index) {
    snd_ctl_t* control = nullptr;
    if (snd_ctl_open(&control, QStringLiteral("hw:%1").arg(index).toUtf8().constData(), 0) < 0)
        return {};
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    std::pair<QString, QString> named;
    if (snd_ctl_card_info(control, info) == 0)
        named = {QStringLiteral("hw:CARD=") + QString::fromUtf8(snd_ctl_card_info_get_id(info)),
                 QString::fromUtf8(snd_ctl_card_info_get_name(info))};
    snd_ctl_close(control);
    return named;
}

// Control devices the configuration defines by a plain name: a site's own
// entry in ~/.asoundrc or /etc/asound.conf. Entries that take arguments
// are templates for particular hardware (an amplifier on a serial port),
// some of whose plugins crash when opened with their defaults: left out,
// as are the names of the cards themselves.
QList<std::pair<QString, QString>> configuredDevices() {
    QList<std::pair<QString, QString>> devices;
    snd_config_t* top = nullptr;
    snd_config_t* controls = nullptr;
    if (snd_config_update_ref(&top) < 0)
        return devices;
    if (snd_config_search(top, "ctl", &controls) == 0) {
        snd_config_iterator_t next;
        snd_config_iterator_t i;
        snd_config_for_each(i, next, controls) {
            snd_config_t* entry = snd_config_iterator_entry(i);
            const char* id = nullptr;
            snd_config_t* arguments = nullptr;
            if (snd_config_get_id(entry, &id) < 0 ||
                snd_config_get_type(entry) != SND_CONFIG_TYPE_COMPOUND ||
                snd_config_search(entry, "@args", &arguments) == 0)
                continue;
            const QString device = QString::fromUtf8(id);
            if (device == QLatin1String("hw") || device == QLatin1String("default") ||
                device == QLatin1String("sysdefault"))
                continue;
            const char* text = nullptr;
            snd_config_t* description = nullptr;
            if (snd_config_search(entry, "hint.description", &description) == 0)
                snd_config_get_string(description, &text);
            devices.append({device, QString::fromUtf8(text ? text : "")});
        }
    }
    snd_config_unref(top);
    return devices;
}

} // namespace

QList<MixerCard> listMixerCards() {
    QList<std::pair<QString, QString>> candidates;
    for (int index = -1; snd_card_next(&index) == 0 && index >= 0;) {
        if (const auto named = cardNamed(index); !named.first.isEmpty())
            candidates.append(named);
    }
    candidates.append(configuredDevices());

    QList<MixerCard> cards;
    for (const auto& [device, name] : candidates) {
        const Class1 mixer({}, device);
        if (!mixer.opened())
            continue;
        MixerCard card;
        card.device = device;
        card.name = name.isEmpty() ? device : name;
        card.elements = mixer.elementNames();
        card.lineSwitch = mixer.muteFound(Class1::LineIn);
        card.micSwitch = mixer.muteFound(Class1::Microphone);
        cards.append(card);
    }
    return cards;
}

} // namespace campanor
