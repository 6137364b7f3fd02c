#include "AutoStart.h"

#include "ProgramFolder.h"
#include "RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace campanor {

namespace {

const QString kHomeVariable = QStringLiteral("CAMPANOR_HOME=");

// One argument of an Exec value: always quoted, the four characters that
// keep a meaning inside quotes escaped.
QString quoteArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// A desktop entry's string escapes, undone before the Exec quoting is read.
QString unescapeString(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        text += next == u's'   ? QChar(u' ')
                : next == u'n' ? QChar(u'\n')
                : next == u't' ? QChar(u'\t')
                : next == u'r' ? QChar(u'\r')
                               : next;
    }
    return text;
}

QString samePathForm(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString execLineOf(const QString& entryText) {
    bool inMainGroup = false;
    for (const QString& raw : entryText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inMainGroup && line.startsWith(QStringLiteral("Exec")) &&
                 line.mid(4).trimmed().startsWith(u'='))
            return line.mid(line.indexOf(u'=') + 1).trimmed();
    }
    return {};
}

} // namespace

QString XdgAutoStart::entryPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/Clock.desktop");
}

QString XdgAutoStart::execValue(const QString& programPath, const QString& programFolder) {
    QString exec = QStringLiteral("env ") + quoteArgument(kHomeVariable + programFolder) + u' ' +
                   quoteArgument(programPath);
    // Field codes, then the string escapes of every desktop entry value.
    exec.replace(u'%', QStringLiteral("%%"));
    exec.replace(u'\\', QStringLiteral("\\\\"));
    exec.replace(u'\n', QStringLiteral("\\n"));
    return exec;
}

QStringList XdgAutoStart::execArguments(const QString& value) {
    const QString text = unescapeString(value);
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'%' && i + 1 < text.size()) {
            // %% is a percent sign; any other field code expands to nothing here.
            if (text[++i] == u'%')
                current += u'%';
            inArgument = true;
        } else if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < text.size()) {
                current += text[++i];
            } else {
                current += c;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else if (c == u'"') {
            quoted = true;
            inArgument = true;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (quoted)
        return {};
    if (inArgument)
        arguments << current;
    return arguments;
}

bool XdgAutoStart::startsProgram(const QString& entryText, const QString& programPath,
                                 const QString& programFolder) {
    QStringList arguments = execArguments(execLineOf(entryText));
    QString folder;
    if (!arguments.isEmpty() && QFileInfo(arguments.first()).fileName() == QStringLiteral("env")) {
        arguments.removeFirst();
        while (!arguments.isEmpty() && arguments.first().contains(u'=') &&
               !arguments.first().startsWith(u'/')) {
            const QString assignment = arguments.takeFirst();
            if (assignment.startsWith(kHomeVariable))
                folder = assignment.mid(kHomeVariable.size());
        }
    }
    if (arguments.isEmpty() || samePathForm(arguments.first()) != samePathForm(programPath))
        return false;
    // An entry without a folder starts the program on the folder it finds itself.
    if (folder.isEmpty())
        folder = defaultProgramFolder(programPath);
    return samePathForm(folder) == samePathForm(programFolder);
}

bool XdgAutoStart::enable(const QString& programPath, const QString& programFolder) {
    const QString path = entryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Campanor\n"
                                        "Exec=%1\nTerminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execValue(programPath, programFolder));
    return writeFileAtomically(path, text.toUtf8());
}

bool XdgAutoStart::disable(const QString& programPath, const QString& programFolder) {
    QFile file(entryPath());
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    if (!startsProgram(text, programPath, programFolder))
        return true;
    return file.remove();
}

} // namespace campanor
