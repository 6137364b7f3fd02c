#include "Settings.h"

#include "ProgramFolder.h"
#include "RecordFile.h"

namespace campanor {

QString Settings::path(const QString& name) const {
    return joinPath(folder_, name);
}

QString Settings::read(const QString& name) const {
    return readRecord(path(name));
}

bool Settings::writeText(const QString& name, const QString& value) const {
    return writeTextRecord(path(name), value);
}

bool Settings::writeNumber(const QString& name, qint64 value) const {
    return writeNumberRecord(path(name), value);
}

} // namespace campanor
