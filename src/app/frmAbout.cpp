#include "frmAbout.h"

#include "Version.h"
#include "common/Skin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace campanor {

QString frmAbout::systemInfoTool() {
    for (const char* tool : {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager",
                             "mate-system-monitor", "lxtask"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

frmAbout::frmAbout(const QString& skinFile, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kAppTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    // It shows over the main window, which waits until it is closed; the
    // schedule does not.
    setWindowModality(Qt::WindowModal);

    auto* name = new QLabel(QStringLiteral("<h2>%1</h2>").arg(kAppTitle), this);
    auto* version = new QLabel(QStringLiteral("版本 ") + versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* description =
        new QLabel(QStringLiteral("学校及各单位广播定时系统：按指令表定时打铃、播音、"
                                  "切换线路和麦克风、执行程序以及关机。"),
                   this);
    description->setWordWrap(true);

    cmdSysInfo = new QPushButton(QStringLiteral("系统信息..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    const QString tool = systemInfoTool();
    // Without a system information tool the button would do nothing.
    cmdSysInfo->setVisible(!tool.isEmpty());
    connect(cmdSysInfo, &QPushButton::clicked, this, [tool] { QProcess::startDetached(tool, {}); });
    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(description);
    layout->addLayout(buttons);

    Skin skin;
    if (skin.LoadSkin(skinFile))
        skin.ApplySkin(this);
}

} // namespace campanor
