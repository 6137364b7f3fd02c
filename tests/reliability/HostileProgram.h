#pragma once

#include "fixtures/TempFolder.h"

#include <QMap>
#include <QProcess>
#include <QString>

namespace campanor::test {

// A complete program folder whose settings are all valid and whose default
// table makes the running program append a line to `ticks` every few
// seconds: that line is the proof that it started and its schedule runs.
class HostileProgram {
  public:
    HostileProgram();

    TempFolder& folder() { return dir_; }
    QString ticksPath() const { return dir_.file("ticks"); }
    // The table's marker lines, each as "|" + line, starting in a few seconds
    // and spanning a minute; `every` seconds apart starting at `offset`.
    QString markerLines(int offset = 3, int every = 1) const;
    QString tablePath() const { return dir_.file("DayTimeTable/Default.DTT"); }
    QStringList settingsFiles() const;

    // Every file under the folder with its bytes.
    QMap<QString, QByteArray> snapshot() const;

    // Starts the real program on the folder, waits until `ticks` has at least
    // `ticks` lines (0: only for the program to be listening), then lets it
    // run `settleMs` longer and ends it. False when it died or never ticked.
    // `environment` is added to the program's own.
    bool run(int ticks, int settleMs = 0, const QMap<QString, QString>& environment = {});
    QString standardError() const { return stderr_; }
    // Every line of the as-run log so far.
    QString asRunLog() const;
    int tickCount() const;

  private:
    TempFolder dir_;
    TempFolder runtime_;
    QString stderr_;
};

} // namespace campanor::test
