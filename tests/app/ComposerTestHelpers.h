#pragma once

#include "app/FormallFixture.h"
#include "table/ComposerPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace campanor::test {

inline void chooseTime(Formall& w, int hour, int minute, int second) {
    w.List1->setCurrentRow(hour);
    w.List2->setCurrentRow(minute);
    w.List3->setCurrentRow(second);
}

inline QString tableFile(const TempFolder& dir) {
    return readRecord(dir.file("DayTimeTable/Default.DTT"));
}

} // namespace campanor::test
