#pragma once

#include <QString>

namespace campanor::bench {

// A full table of 300 lines, as table text, with every kind of day rule.
inline QString fullTableText() {
    const char* rules[] = {"每天", "星期三", "每月15日", "每年3月8日", "2026年5月1日"};
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("|%1:%2:00*没有注释>%3</srv/bells/bell%4.mp3")
                    .arg(6 + i % 14, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'))
                    .arg(QString::fromUtf8(rules[i % 5]))
                    .arg(i);
    return text;
}

} // namespace campanor::bench
