#pragma once

#include <QByteArrayList>
#include <QString>
#include <optional>

namespace campanor {

// The program and its arguments of a command line, split by shell quoting
// rules without running a shell. nullopt when the line names no program
// (empty, an unclosed quotation mark) or holds a NUL character, which would
// silently cut the line short.
std::optional<QByteArrayList> splitCommandLine(const QString& commandLine);

} // namespace campanor
