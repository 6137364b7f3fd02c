#include "HostileProgram.h"

#include "app/Settings.h"
#include "fixtures/ProgramEnvironment.h"
#include "fixtures/WaitUntil.h"

#include <QDateTime>
#include <QDirIterator>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <unistd.h>

namespace campanor::test {

HostileProgram::HostileProgram() {
    QDir(dir_.path()).mkpath("DayTimeTable");
    QDir(dir_.path()).mkpath("PlayListFile");
    const Settings settings(dir_.path());
    settings.writeNumber(file::ResetSystem, 1);
    settings.writeText(file::AutoRunYesNo, "NO");
    settings.writeText(file::Show, "show");
    settings.writeText(file::Shut, QStringLiteral("开60"));
    settings.writeText(file::Restart, QStringLiteral("关30"));
    settings.writeText(file::Logoff, QStringLiteral("开60"));
    settings.writeText(file::PlayOrder, "1");
    settings.writeText(file::DefaultDTT, tablePath());
    settings.writeText(file::DefaultPLF, dir_.file("PlayListFile/Default.PLF"));
    settings.writeText(file::UserWav, dir_.file("timeup.mp3"));
    settings.writeNumber(file::Radio, 1);
    settings.writeText(file::SkinFile, dir_.file("skin/B-Studio.skn"));
    settings.writeText(file::User, QStringLiteral("第一中学"));
    settings.writeText("PlayListFile/Default.PLF", QString());
    settings.writeNumber("PlayListFile/Default.PLFR", 0);
    dir_.write("DayTimeTable/Default.DTT", TempFolder::quoted(markerLines()));
}

QStringList HostileProgram::settingsFiles() const {
    return {file::ResetSystem, file::AutoRunYesNo, file::Show,      file::Shut,
            file::Restart,     file::Logoff,       file::PlayOrder, file::DefaultDTT,
            file::DefaultPLF,  file::UserWav,      file::Radio,     file::SkinFile,
            file::User};
}

QString HostileProgram::markerLines(int offset, int every) const {
    // The program is started a little later and takes a while to come up on
    // a loaded machine: one line a second (or every `every` s) for a minute.
    const QTime now = QTime::currentTime();
    QString lines;
    for (int s = offset; s < offset + 60; s += every)
        lines += QStringLiteral("|%1*tick>每天<执行程序/bin/sh -c 'echo tick >> %2'")
                     .arg(now.addSecs(s).toString("HH:mm:ss"), ticksPath());
    return lines;
}

QMap<QString, QByteArray> HostileProgram::snapshot() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir_.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(dir_.path()).relativeFilePath(path);
        if (path != ticksPath() && !name.startsWith("Log/"))
            files[QDir(dir_.path()).relativeFilePath(path)] =
                dir_.bytes(QDir(dir_.path()).relativeFilePath(path));
    }
    return files;
}

QString HostileProgram::asRunLog() const {
    return asRunLogText(dir_.path());
}

int HostileProgram::tickCount() const {
    return int(dir_.bytes("ticks").count('\n'));
}

bool HostileProgram::run(int ticks, int settleMs, const QMap<QString, QString>& environment) {
    QProcessEnvironment env = programEnvironment(dir_.path(), runtime_.path());
    env.insert("CAMPANOR_AUDIO_SINK", "fakesink sync=true");
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("CAMPANOR_BINARY"), {});
    if (!program.waitForStarted(10000))
        return false;
    const QString socket = runtime_.path() + QStringLiteral("/campanor-%1.socket").arg(getuid());
    // Generous: other builds load this machine; a start that hangs takes far longer.
    bool up = waitUntil(
        [&] {
            return program.state() != QProcess::Running ||
                   (ticks == 0 ? QFile::exists(socket) : tickCount() >= ticks);
        },
        45000);
    up = up && program.state() == QProcess::Running;
    if (up && settleMs > 0) {
        waitUntil([] { return false; }, settleMs);
        up = program.state() == QProcess::Running;
    }
    program.kill();
    program.waitForFinished(10000);
    stderr_ = QString::fromUtf8(program.readAllStandardError());
    return up;
}

} // namespace campanor::test
