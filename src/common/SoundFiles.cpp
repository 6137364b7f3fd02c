#include "SoundFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace campanor {

const QStringList& soundFilePatterns() {
    // The older formats first, as the lists were always shown; then those
    // of today, all played by GStreamer's base, good and libav plugins.
    static const QStringList list =
        QStringLiteral("*.avi;*.asf;*.asx;*.rmi;*.wav;*.wma;*.wax;*.mpg;*.mpeg;*.m1v;*.mp2;*.mp3;"
                       "*.mpa;*.mpe;*.mid;*.rmi;*.qt;*.aif;*.aifc;*.aiff;*.mov;*.au;*.snd;"
                       "*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wv")
            .split(u';');
    return list;
}

QString musicFolder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir(music).exists())
        return music;
    return QDir::homePath();
}

QString soundFileFilter() {
    return QStringLiteral("所有可以播放的文件|") + soundFilePatterns().join(u';');
}

} // namespace campanor
