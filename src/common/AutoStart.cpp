#include "AutoStart.h"

#include "ProgramFolder.h"
#include "RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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

// One argument of a unit's ExecStart= or Environment=: quoted, specifiers
// escaped, and in a command line the variable sign too.
QString unitQuoted(const QString& argument, bool commandLine = false) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'\\')
            quoted += u'\\';
        if (c == u'%' || (commandLine && c == u'$'))
            quoted += c;
        quoted += c;
    }
    return quoted + u'"';
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

QString XdgAutoStart::unitPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/systemd/user/campanor.service");
}

QString XdgAutoStart::unitText(const QString& programPath, const QString& programFolder) {
    // Restart=on-failure: an exit the operator or a power action asked for
    // ends with 0 and stays ended; a crash or the watchdog's kill does not.
    return QStringLiteral("[Unit]\nDescription=Campanor\n"
                          "PartOf=graphical-session.target\nAfter=graphical-session.target\n\n"
                          "[Service]\nType=notify\nEnvironment=%1\nExecStart=%2\n"
                          "Restart=on-failure\nRestartSec=2\nWatchdogSec=10\n"
                          "TimeoutStartSec=120\n")
        .arg(unitQuoted(kHomeVariable + programFolder), unitQuoted(programPath, true));
}

bool XdgAutoStart::userManagerRuns() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/systemd/private"));
}

QString XdgAutoStart::unitExecValue() {
    return QStringLiteral("systemctl --user start campanor.service");
}

bool XdgAutoStart::enable(const QString& programPath, const QString& programFolder) {
    const QString path = entryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString exec = execValue(programPath, programFolder);
    if (userManagerRuns()) {
        const QString unit = unitPath();
        QDir().mkpath(QFileInfo(unit).absolutePath());
        if (!writeFileAtomically(unit, unitText(programPath, programFolder).toUtf8()))
            return false;
        // A user instance that outlives the session has read the old unit;
        // not waited for, the entry is only used at the next login.
        QProcess::startDetached(QStringLiteral("systemctl"),
                                {QStringLiteral("--user"), QStringLiteral("daemon-reload")});
        exec = unitExecValue();
    }
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Campanor\n"
                                        "Exec=%1\nTerminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(exec);
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
    QFile unit(unitPath());
    if (execLineOf(text) == unitExecValue()) {
        // Ours only when the unit it starts is this program's on this folder.
        if (!unit.open(QIODevice::ReadOnly))
            return true;
        const QString unitContent = QString::fromUtf8(unit.readAll());
        unit.close();
        if (unitContent != unitText(programPath, programFolder))
            return true;
        return file.remove() && unit.remove();
    }
    if (!startsProgram(text, programPath, programFolder))
        return true;
    return file.remove();
}

} // namespace campanor
