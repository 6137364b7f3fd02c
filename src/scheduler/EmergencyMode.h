#pragma once

#include <QDateTime>
#include <QString>

namespace campanor {

// The emergency mode: while it is on no instruction of the table runs and an
// alarm list loops. It lives in a file of its own, written the moment it
// changes, so a restart or a power cut comes back into it.
class EmergencyMode {
  public:
    explicit EmergencyMode(QString stateFile) : file_(std::move(stateFile)) {}

    // Reads the stored mode; a missing or garbled file is off.
    void load();

    bool on() const { return on_; }
    const QDateTime& since() const { return since_; }
    const QString& playlist() const { return playlist_; }

    // False (and nothing changes) when the mode is already so. Both are
    // stored at once and written to the as-run log; `stored` tells whether
    // the file could be written.
    bool start(const QString& playlist, const QDateTime& now);
    bool end(const QDateTime& now);
    bool stored() const { return stored_; }

  private:
    void store();

    QString file_;
    bool on_ = false;
    QDateTime since_;
    QString playlist_;
    bool stored_ = true;
};

} // namespace campanor
