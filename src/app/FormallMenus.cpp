#include "Formall.h"

#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace campanor {

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addSubMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

void addSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

struct PowerItems {
    QAction* on;
    QAction* off;
    QAction* current;
};

PowerItems addPowerMenu(QMenu* system, const char* names[7], const QString& caption,
                        const QString& promptCaption) {
    QMenu* top = addSubMenu(system, names[0], caption);
    QMenu* form = addSubMenu(top, names[1], promptCaption);
    QAction* on = addItem(form, names[2], QStringLiteral("开"), true);
    QAction* off = addItem(form, names[3], QStringLiteral("关"), true);
    QMenu* wait = addSubMenu(top, names[4], QStringLiteral("等待时间"));
    QAction* current = addItem(wait, names[5], QStringLiteral("当前值"));
    addItem(wait, names[6], QStringLiteral("自定义"));
    return {on, off, current};
}

// Keeps a widget of the window over the place a menu bar keeps for it.
// Keeps `widget` over the right end of the menu bar, as wide as the room the
// bar keeps free there. Placed from the bar's own width: the bar may leave
// its corner widget where it was before the window took its final width.
class OverCorner : public QObject {
  public:
    OverCorner(QWidget* bar, QWidget* place, QWidget* widget)
        : QObject(widget), bar_(bar), place_(place), widget_(widget) {
        bar->installEventFilter(this);
        place->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) {
            const QPoint end =
                bar_->mapTo(widget_->parentWidget(), QPoint(bar_->width() - place_->width(), 0));
            widget_->setGeometry(QRect(end, QSize(place_->width(), bar_->height())));
            widget_->raise();
        }
        return false;
    }

  private:
    QWidget* bar_;
    QWidget* place_;
    QWidget* widget_;
};

} // namespace

void Formall::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* system = addMenu(bar, "Menu1", QStringLiteral("系统(&S)"));
    QMenu* autorun = addSubMenu(system, "AUTORUN", QStringLiteral("开机启动"));
    AUTORUNYES = addItem(autorun, "AUTORUNYES", QStringLiteral("设置"), true);
    AUTORUNNO = addItem(autorun, "AUTORUNNO", QStringLiteral("取消"), true);
    QMenu* state = addSubMenu(system, "Formstate", QStringLiteral("窗体状态"));
    FormShow = addItem(state, "FormShow", QStringLiteral("程序启动时正常显示"), true);
    FormHide = addItem(state, "FormHide", QStringLiteral("程序启动时不要显示"), true);
    addSeparator(system, "bar1");

    const char* shut[7] = {"MenuShutDownWindows",           "MenuShutDownDowndowsForm",
                           "MenuShutDownWindowsFormOn",     "MenuShutDownWindowsFormOff",
                           "MenuShutDownWindowWaitTime",    "MenuShutDownWindowsWaitTimeCurrent",
                           "MenuShutDownWindowsWaitTimeNew"};
    const PowerItems shutItems =
        addPowerMenu(system, shut, QStringLiteral("关机设置"), QStringLiteral("关机提示"));
    const char* restart[7] = {"MenuRestart",           "MenuRestartForm",
                              "MenuRestartFormOn",     "MenuRestartFormOff",
                              "MenuRestartWaitTime",   "MenuRestartWaitTimeCurrent",
                              "MenuRestartWaitTimeNew"};
    const PowerItems restartItems =
        addPowerMenu(system, restart, QStringLiteral("重启设置"), QStringLiteral("重启提示"));
    const char* logoff[7] = {"MenuLogoff",           "MenuLogoffForm",
                             "MenuLogoffFormon",     "MenuLogoffFormOff",
                             "MenuLogoffWaitTime",   "MenuLogoffWaitTimeCurrent",
                             "MenuLogoffWaitTimeNew"};
    const PowerItems logoffItems =
        addPowerMenu(system, logoff, QStringLiteral("注销设置"), QStringLiteral("注销提示"));
    MenuShutDownWindowsFormOn = shutItems.on;
    MenuShutDownWindowsFormOff = shutItems.off;
    MenuShutDownWindowsWaitTimeCurrent = shutItems.current;
    MenuRestartFormOn = restartItems.on;
    MenuRestartFormOff = restartItems.off;
    MenuRestartWaitTimeCurrent = restartItems.current;
    MenuLogoffFormon = logoffItems.on;
    MenuLogoffFormOff = logoffItems.off;
    MenuLogoffWaitTimeCurrent = logoffItems.current;

    addSeparator(system, "bar4");
    addItem(system, "SetUser", QStringLiteral("单位设置"));
    connect(addItem(system, "MenuSoundDevice", QStringLiteral("声音设备")), &QAction::triggered,
            this, &Formall::MenuSoundDevice_Click);
    connect(addItem(system, "MenuAsRunLog", QStringLiteral("运行记录")), &QAction::triggered, this,
            &Formall::MenuAsRunLog_Click);
    connect(addItem(system, "MenuCalendar", QStringLiteral("校历")), &QAction::triggered, this,
            &Formall::MenuCalendar_Click);
    connect(addItem(system, "MenuEmergency", QStringLiteral("紧急广播")), &QAction::triggered, this,
            &Formall::Emergency_Click);
    MenuRestoreAtStart =
        addItem(system, "MenuRestoreAtStart", QStringLiteral("启动时恢复播音状态"), true);
    connect(MenuRestoreAtStart, &QAction::triggered, this, &Formall::MenuRestoreAtStart_Click);
    addSeparator(system, "bar3");
    MenuzExit = addItem(system, "MenuzExit", QStringLiteral("退出系统"));
    connect(MenuzExit, &QAction::triggered, this, &Formall::MenuzExit_Click);

    QMenu* skins = addMenu(bar, "changeSkin", QStringLiteral("皮肤(&K)"));
    const std::pair<const char*, const char*> skinItems[] = {
        {"B_Studio", "B-Studio"}, {"chizh", "chizh"},     {"galaxy", "galaxy"},
        {"green", "green"},       {"Mac", "Mac"},         {"Media", "Media"},
        {"metallic", "metallic"}, {"Paper", "Paper"},     {"TopSecret", "TopSecret"},
        {"Web_II", "Web-II"},     {"winaqua", "winaqua"}, {"Zhelezo", "Zhelezo"}};
    int number = 1;
    // The skin in use is the checked one.
    auto* inUse = new QActionGroup(skins);
    for (const auto& [name, skin] : skinItems)
        inUse->addAction(addItem(
            skins, name,
            QStringLiteral("[%1]%2").arg(number++, 2, 10, QChar(u'0')).arg(QLatin1String(skin)),
            true));

    QMenu* music = addMenu(bar, "music", QStringLiteral("默认乐音(&R)"));
    QMenu* outer = addSubMenu(music, "OuterRing", QStringLiteral("选择"));
    QMenu* current = addSubMenu(outer, "kkks", QStringLiteral("当前"));
    CurrentRing = addItem(current, "CurrentRing", QString());
    addItem(outer, "RingChoose", QStringLiteral("选择"));
    humor = addItem(outer, "humor", QStringLiteral("默认"));
    addItem(music, "menuTryRing", QStringLiteral("播放"));
    addItem(music, "menustopsound", QStringLiteral("停止"));

    QMenu* players = addMenu(bar, "Menu4", QStringLiteral("播音器(&P)"));
    addItem(players, "ReportPlayerNew", QStringLiteral("前置播音器"));
    addItem(players, "Player", QStringLiteral("后置播音器"));

    QMenu* justTime = addMenu(bar, "MenuJustTime", QStringLiteral("内部校时(&T)"));
    MenuJustMyTimeAuto =
        addItem(justTime, "MenuJustMyTimeAuto", QStringLiteral("内部时钟手动校时"));
    connect(MenuJustMyTimeAuto, &QAction::triggered, this, &Formall::MenuJustMyTimeAuto_Click);

    QMenu* help = addMenu(bar, "DetalHelp", QStringLiteral("帮助(&H)"));
    addItem(help, "Register", QStringLiteral("帮助文档"));
    addItem(help, "MenuAbout", QStringLiteral("版权声明"));
    addItem(help, "dd",
            QStringLiteral("点击进入->《Campanor》客户服务网 (https://campanor.org/service)"));
    addItem(help, "MenuMyHttp",
            QStringLiteral("点击进入 -> Campanor 官方网站 https://campanor.org"));

    // The clock display changes every second: a label of fixed size in the
    // bar's corner repaints itself alone, where a changing item text would lay
    // out and repaint the whole menu bar each time. The item keeps its place
    // in the bar for whoever looks it up by name.
    DisplayTime = bar->addAction(QString());
    DisplayTime->setObjectName(QStringLiteral("DisplayTime"));
    DisplayTime->setVisible(false);
    // The menu bar's accessible children are its items alone: a label inside
    // the bar could not be read by a screen reader. The bar keeps the corner
    // free, and the label, a child of the window, lies over it.
    auto* corner = new QWidget(bar);
    corner->setObjectName(QStringLiteral("DisplayTimeCorner"));
    DisplayTimeLabel = new QLabel(this);
    DisplayTimeLabel->setObjectName(QStringLiteral("DisplayTimeLabel"));
    DisplayTimeLabel->setTextFormat(Qt::PlainText);
    DisplayTimeLabel->setContentsMargins(8, 0, 8, 0);
    const QString widest = clockCaption(QTime(23, 59, 59), QStringLiteral("23:59:59"));
    corner->setFixedSize(DisplayTimeLabel->fontMetrics().horizontalAdvance(widest) + 24,
                         bar->sizeHint().height());
    bar->setCornerWidget(corner, Qt::TopRightCorner);
    new OverCorner(bar, corner, DisplayTimeLabel);
}

} // namespace campanor
