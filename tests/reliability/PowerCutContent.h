#pragma once

#include <QString>
#include <QStringList>

namespace campanor::test {

// The two generations of content the power-cut writer switches between. They
// differ in length, so a torn write can never look like either of them.
struct PowerCutContent {
    QString table;
    QString playlist;
    qint64 memory;
    QString unit;
};

inline PowerCutContent powerCutGeneration(int generation) {
    const int lines = generation % 2 ? 260 : 7;
    PowerCutContent content;
    for (int i = 0; i < lines; ++i)
        content.table +=
            QStringLiteral("|%1:%2:00*第%3节>每天<播音开-静态/srv/广播/PlayListFile/L%3.PLF")
                .arg(7 + i / 60, 2, 10, QChar(u'0'))
                .arg(i % 60, 2, 10, QChar(u'0'))
                .arg(i);
    for (int i = 0; i < lines * 3; ++i)
        content.playlist += QStringLiteral("|/srv/音乐/第%1首.mp3").arg(i);
    content.memory = generation % 2 ? 123456789 : 7;
    content.unit = generation % 2 ? QStringLiteral("第一中学") : QStringLiteral("实验小学分校");
    return content;
}

inline const QString kPowerCutTable = QStringLiteral("DayTimeTable/Default.DTT");
inline const QString kPowerCutPlaylist = QStringLiteral("PlayListFile/Default.PLF");

} // namespace campanor::test
