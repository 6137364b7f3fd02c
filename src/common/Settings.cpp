#include "Settings.h"

#include "ProgramFolder.h"
#include "RecordFile.h"

namespace campanor {

QString Settings::path(const QString& name) const {
    return joinPath(folder_, name);
}

RecordRead Settings::readChecked(const QString& name) const {
    const RecordRead read = readRecordFile(path(name), kMaxValueLength);
    reportRead(path(name), read);
    return read;
}

bool Settings::writeText(const QString& name, const QString& value) const {
    return writeTextRecord(path(name), value);
}

bool Settings::writeNumber(const QString& name, qint64 value) const {
    return writeNumberRecord(path(name), value);
}

} // namespace campanor
