#include "Formall.h"

#include "HelpWindow.h"
#include "common/AsRunLog.h"
#include "common/AutoStart.h"
#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/SoundFiles.h"
#include "common/WindowPlacement.h"
#include "frmAbout.h"
#include "players/MediaPlayer.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

namespace campanor {

namespace {

const QString kServiceUrl = QStringLiteral("https://campanor.org/service");
const QString kHomeUrl = QStringLiteral("https://campanor.org");

} // namespace

Formall::PowerKind Formall::powerKind(int index) {
    switch (index) {
    case 0:
        return {file::Shut,
                ShutString,
                MenuShutDownWindowsFormOn,
                MenuShutDownWindowsFormOff,
                MenuShutDownWindowsWaitTimeCurrent,
                QStringLiteral("请设定Windows系统发生关机事件前等待用户响应的时间(秒)：")};
    case 1:
        return {file::Restart,
                RestartString,
                MenuRestartFormOn,
                MenuRestartFormOff,
                MenuRestartWaitTimeCurrent,
                QStringLiteral("请设定Windows系统发生重新启动事件前等待用户响应的时间(秒)：")};
    default:
        return {file::Logoff,
                LogoffString,
                MenuLogoffFormon,
                MenuLogoffFormOff,
                MenuLogoffWaitTimeCurrent,
                QStringLiteral("请设定Windows系统发生注销事件前等待用户响应的时间(秒)：")};
    }
}

void Formall::connectCommands() {
    // A checkable item toggles itself before its command runs; the commands
    // decide the check marks themselves, so the toggle is undone first.
    auto command = [this](const char* name, auto handler) {
        QAction* action = findChild<QAction*>(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, action, handler] {
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            (this->*handler)();
        });
    };
    command("AUTORUNYES", &Formall::AUTORUNYES_Click);
    command("AUTORUNNO", &Formall::AUTORUNNO_Click);
    command("FormShow", &Formall::FormShow_Click);
    command("FormHide", &Formall::FormHide_Click);
    command("MenuShutDownWindowsFormOn", &Formall::MenuShutDownWindowsFormOn_Click);
    command("MenuShutDownWindowsFormOff", &Formall::MenuShutDownWindowsFormOff_Click);
    command("MenuRestartFormOn", &Formall::MenuRestartFormOn_Click);
    command("MenuRestartFormOff", &Formall::MenuRestartFormOff_Click);
    command("MenuLogoffFormon", &Formall::MenuLogoffFormon_Click);
    command("MenuLogoffFormOff", &Formall::MenuLogoffFormOff_Click);
    command("MenuShutDownWindowsWaitTimeNew", &Formall::MenuShutDownWindowsWaitTimeNew_Click);
    command("MenuRestartWaitTimeNew", &Formall::MenuRestartWaitTimeNew_Click);
    command("MenuLogoffWaitTimeNew", &Formall::MenuLogoffWaitTimeNew_Click);
    command("SetUser", &Formall::SetUser_Click);
    command("RingChoose", &Formall::RingChoose_Click);
    command("humor", &Formall::humor_Click);
    command("menuTryRing", &Formall::menuTryRing_Click);
    command("menustopsound", &Formall::menustopsound_Click);
    command("ReportPlayerNew", &Formall::ReportPlayerNew_Click);
    command("Player", &Formall::Player_Click);
    command("Register", &Formall::Register_Click);
    command("MenuAbout", &Formall::MenuAbout_Click);
    command("dd", &Formall::dd_Click);
    command("MenuMyHttp", &Formall::MenuMyHttp_Click);

    const std::pair<const char*, const char*> skins[] = {
        {"B_Studio", "B-Studio.skn"}, {"chizh", "chizh.skn"},     {"galaxy", "galaxy.skn"},
        {"green", "green.skn"},       {"Mac", "Mac.skn"},         {"Media", "Media.skn"},
        {"metallic", "metallic.skn"}, {"Paper", "Paper.skn"},     {"TopSecret", "TopSecret.skn"},
        {"Web_II", "Web-II.skn"},     {"winaqua", "winaqua.skn"}, {"Zhelezo", "Zhelezo.skn"}};
    for (const auto& [name, skin] : skins) {
        const QString file = QLatin1String(skin);
        connect(findChild<QAction*>(QLatin1String(name)), &QAction::triggered, this,
                [this, file] { ChangeSkin(file); });
    }
}

void Formall::AUTORUNYES_Click() {
    // On failure the check marks stay as they were: they show what the
    // next boot will do.
    if (!services_.autoStart->enable(QCoreApplication::applicationFilePath(), settings_.folder())) {
        reportProblem(QStringLiteral("开机启动：设置失败，开机启动项没有写入"));
        services_.prompter->message(this, QStringLiteral("开机启动项无法写入，开机启动没有设置！"),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return;
    }
    AUTORUNYES->setChecked(true);
    AUTORUNNO->setChecked(false);
    if (!settings_.writeText(file::AutoRunYesNo, QStringLiteral("YES")))
        reportProblem(QStringLiteral("开机启动：已设置，但 AutoRunYesNo.txt 没有写入"));
}

void Formall::AUTORUNNO_Click() {
    if (!services_.autoStart->disable(QCoreApplication::applicationFilePath(),
                                      settings_.folder())) {
        reportProblem(QStringLiteral("开机启动：取消失败，开机启动项没有删除"));
        services_.prompter->message(this,
                                    QStringLiteral("开机启动项无法删除，程序仍会随系统启动！"),
                                    Prompter::Icon::Critical, Prompter::Buttons::Ok);
        return;
    }
    AUTORUNNO->setChecked(true);
    AUTORUNYES->setChecked(false);
    if (!settings_.writeText(file::AutoRunYesNo, QStringLiteral("NO")))
        reportProblem(QStringLiteral("开机启动：已取消，但 AutoRunYesNo.txt 没有写入"));
}

void Formall::setStartUpVisibility(bool show) {
    QAction* clicked = show ? FormShow : FormHide;
    if (clicked->isChecked())
        return;
    settings_.writeText(file::Show, show ? QStringLiteral("show") : QStringLiteral("hide"));
    clicked->setChecked(true);
    (show ? FormHide : FormShow)->setChecked(false);
}

void Formall::FormShow_Click() {
    setStartUpVisibility(true);
}
void Formall::FormHide_Click() {
    setStartUpVisibility(false);
}

void Formall::setPromptOn(int kindIndex, bool on) {
    const PowerKind kind = powerKind(kindIndex);
    QAction* clicked = on ? kind.on : kind.off;
    if (clicked->isChecked())
        return;
    clicked->setChecked(true);
    (on ? kind.off : kind.on)->setChecked(false);
    kind.text.replace(on ? QStringLiteral("关") : QStringLiteral("开"),
                      on ? QStringLiteral("开") : QStringLiteral("关"));
    settings_.writeText(kind.file, kind.text);
}

void Formall::MenuShutDownWindowsFormOn_Click() {
    setPromptOn(0, true);
}
void Formall::MenuShutDownWindowsFormOff_Click() {
    setPromptOn(0, false);
}
void Formall::MenuRestartFormOn_Click() {
    setPromptOn(1, true);
}
void Formall::MenuRestartFormOff_Click() {
    setPromptOn(1, false);
}
void Formall::MenuLogoffFormon_Click() {
    setPromptOn(2, true);
}
void Formall::MenuLogoffFormOff_Click() {
    setPromptOn(2, false);
}

void Formall::askWaitTime(int kindIndex) {
    const PowerKind kind = powerKind(kindIndex);
    for (;;) {
        const auto answer = services_.prompter->input(this, kind.prompt, kind.text.mid(1));
        if (!answer || answer->isEmpty())
            return;
        bool whole = false;
        const int seconds = answer->trimmed().toInt(&whole);
        if (!whole || seconds < 1) {
            services_.prompter->message(this, QStringLiteral("等待的秒数要大于1秒！"),
                                        Prompter::Icon::Critical, Prompter::Buttons::Ok);
            continue;
        }
        // Stored as a plain number, so that the countdown reads exactly this.
        const QString typed = QString::number(seconds);
        // The flag is always there: start-up puts one in place of a garbled one.
        kind.text = kind.text.left(1) + typed;
        settings_.writeText(kind.file, kind.text);
        kind.current->setText(QStringLiteral("当前值:") + typed + QStringLiteral("秒"));
        return;
    }
}

void Formall::MenuShutDownWindowsWaitTimeNew_Click() {
    askWaitTime(0);
}
void Formall::MenuRestartWaitTimeNew_Click() {
    askWaitTime(1);
}
void Formall::MenuLogoffWaitTimeNew_Click() {
    askWaitTime(2);
}

void Formall::SetUser_Click() {
    const QString unit = settings_.read(file::User);
    const auto answer = services_.prompter->input(this, QStringLiteral("重新设定单位名称："), unit);
    settings_.writeText(file::User, answer.value_or(QString()));
    setCaption();
}

void Formall::ChangeSkin(const QString& skinFile) {
    const QString path = settings_.path(file::SkinFolder + u'/' + skinFile);
    settings_.writeText(file::SkinFile, path);
    if (Skin1.LoadSkin(path))
        Skin1.ApplySkin(this);
    showSkinInUse();
}

void Formall::showSkinInUse() {
    const QString inUse = QFileInfo(settings_.read(file::SkinFile)).completeBaseName();
    for (QAction* item : findChild<QMenu*>(QStringLiteral("changeSkin"))->actions()) {
        // "[05]Mac" names Mac.skn.
        const QString skin = item->text().section(u']', 1);
        item->setChecked(!inUse.isEmpty() && skin.compare(inUse, Qt::CaseInsensitive) == 0);
    }
}

void Formall::RingChoose_Click() {
    const QString chosen = services_.dialogs->openFile(
        this, QStringLiteral("请选择一个新的默认乐音："), settings_.folder(), soundFileFilter());
    if (!chosen.isEmpty()) {
        DefaultRingPath = chosen;
        CurrentRing->setText(chosen);
        humor->setEnabled(!samePathIgnoringCase(chosen, BuiltInRingPath));
    }
    settings_.writeText(file::UserWav, DefaultRingPath);
}

void Formall::humor_Click() {
    DefaultRingPath = BuiltInRingPath;
    CurrentRing->setText(DefaultRingPath);
    humor->setEnabled(false);
    settings_.writeText(file::UserWav, DefaultRingPath);
}

void Formall::menuTryRing_Click() {
    // The operator's own try: a failure of it is no scheduled line's.
    ringLine_.clear();
    ringPlayer()->setFileName(DefaultRingPath);
    MediaPlayer1->Play();
}

void Formall::menustopsound_Click() {
    if (MediaPlayer1)
        MediaPlayer1->Stop();
}

void Formall::Register_Click() {
    if (!help_) {
        help_ = new HelpWindow(settings_.path(file::Help), this);
        centreOver(help_, this);
    }
    help_->show();
    help_->raise();
    help_->showTopic(QStringLiteral("index.html"));
}

void Formall::MenuAbout_Click() {
    if (!about_) {
        about_ = new frmAbout(settings_.read(file::SkinFile), this);
        centreOver(about_, this);
    }
    about_->show();
    about_->raise();
}

void Formall::dd_Click() {
    QDesktopServices::openUrl(QUrl(kServiceUrl));
}
void Formall::MenuMyHttp_Click() {
    QDesktopServices::openUrl(QUrl(kHomeUrl));
}

} // namespace campanor
