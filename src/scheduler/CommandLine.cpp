#include "CommandLine.h"

#include <glib.h>

namespace campanor {

std::optional<QByteArrayList> splitCommandLine(const QString& commandLine) {
    const QByteArray bytes = commandLine.toLocal8Bit();
    if (bytes.contains('\0'))
        return std::nullopt;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(bytes.constData(), nullptr, &argv, nullptr))
        return std::nullopt;
    QByteArrayList words;
    for (gchar** word = argv; *word; ++word)
        words << QByteArray(*word);
    g_strfreev(argv);
    if (words.isEmpty() || words.first().isEmpty())
        return std::nullopt;
    return words;
}

} // namespace campanor
