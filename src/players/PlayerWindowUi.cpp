#include "PlayerWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace campanor {

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit* counter(QWidget* parent, const char* name, const QString& tip,
                   const QString& accessibleName) {
    auto* box = named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setToolTip(tip);
    box->setAccessibleName(accessibleName);
    box->setFixedWidth(48);
    return box;
}

} // namespace

void PlayerWindow::buildWidgets() {
    auto* layout = new QVBoxLayout(this);
    menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);

    SkinLabel1 = named(new QLabel(QStringLiteral("文件:"), this), "SkinLabel1");
    layout->addWidget(SkinLabel1);

    List1 = named(new QListWidget(this), "List1");
    List1->setAccessibleName(QStringLiteral("曲目列表"));
    List1->setMinimumHeight(160);
    layout->addWidget(List1, 1);

    auto* counters = new QHBoxLayout;
    Text1 = counter(this, "Text1", QStringLiteral("总曲目数"), QStringLiteral("总曲目数"));
    Text3 = counter(this, "Text3", QStringLiteral("当前播放曲目(从0开始计数)"),
                    QStringLiteral("当前播放曲目(从0开始计数)"));
    Text4 = counter(this, "Text4", QStringLiteral("当前正在播放的曲目"),
                    QStringLiteral("当前正在播放的曲目"));
    Text7 = counter(this, "Text7",
                    QStringLiteral("Text7:设置播放类型 1：顺序播放 2：随机播放 3：记忆播放"),
                    QStringLiteral("播放类型"));
    Text7->setReadOnly(false);
    Text2 = counter(this, "Text2", QString(), QString());
    Text2->hide();
    counters->addWidget(new QLabel(QStringLiteral("总曲目数"), this));
    counters->addWidget(Text1);
    counters->addWidget(new QLabel(QStringLiteral("当前"), this));
    counters->addWidget(Text3);
    counters->addWidget(Text4);
    counters->addWidget(new QLabel(QStringLiteral("播放类型"), this));
    counters->addWidget(Text7);
    counters->addStretch(1);
    layout->addLayout(counters);

    auto* position = new QHBoxLayout;
    PositionLabel =
        named(new QLabel(QStringLiteral("00:00"), this), isFront() ? "Label1" : "Label2");
    Slider1 = named(new QSlider(Qt::Horizontal, this), "Slider1");
    Slider1->setRange(0, 0);
    Slider1->setAccessibleName(QStringLiteral("播放位置"));
    SkinLabel10 = named(new QLabel(QStringLiteral("00:00"), this), "SkinLabel10");
    position->addWidget(PositionLabel);
    position->addWidget(Slider1, 1);
    position->addWidget(SkinLabel10);
    layout->addLayout(position);

    auto* transport = new QHBoxLayout;
    Command5 = named(new QPushButton(QStringLiteral(">>"), this), "Command5");
    Command5->setToolTip(QStringLiteral("播放"));
    Command5->setAccessibleName(QStringLiteral("播放"));
    Command6 = named(new QPushButton(QStringLiteral("||"), this), "Command6");
    Command6->setToolTip(QStringLiteral("暂停"));
    Command6->setAccessibleName(QStringLiteral("暂停"));
    Command6->hide();
    Check1 = named(new QCheckBox(QStringLiteral("静音开关"), this), "Check1");
    Check3 = named(new QCheckBox(QStringLiteral("原始顺序"), this), "Check3");
    Check4 = named(new QCheckBox(QStringLiteral("随机顺序"), this), "Check4");
    transport->addWidget(Command5);
    transport->addWidget(Command6);
    transport->addWidget(Check1);
    transport->addWidget(Check3);
    transport->addWidget(Check4);
    transport->addStretch(1);
    layout->addLayout(transport);

    auto* modes = new QHBoxLayout;
    Option1 = named(new QRadioButton(QStringLiteral("直播到底"), this), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("单曲循环"), this), "Option2");
    Option3 = named(new QRadioButton(QStringLiteral("全程循环"), this), "Option3");
    Option1->setChecked(true);
    for (QRadioButton* option : {Option1, Option2, Option3})
        modes->addWidget(option);
    modes->addStretch(1);
    layout->addLayout(modes);

    auto* levels = new QGridLayout;
    Slider2 = named(new QSlider(Qt::Horizontal, this), "Slider2");
    Slider2->setRange(0, 5000);
    Slider2->setValue(5000);
    Slider2->setToolTip(QStringLiteral("音量"));
    Slider2->setAccessibleName(QStringLiteral("音量"));
    Slider3 = named(new QSlider(Qt::Horizontal, this), "Slider3");
    Slider3->setRange(-10000, 10000);
    Slider3->setValue(0);
    Slider3->setToolTip(QStringLiteral("声道平衡"));
    Slider3->setAccessibleName(QStringLiteral("声道平衡"));
    levels->addWidget(new QLabel(QStringLiteral("音量"), this), 0, 0);
    levels->addWidget(Slider2, 0, 1);
    levels->addWidget(new QLabel(QStringLiteral("声道平衡"), this), 1, 0);
    levels->addWidget(Slider3, 1, 1);
    layout->addLayout(levels);

    auto* editing = new QHBoxLayout;
    Command1 = named(new QPushButton(QStringLiteral("添加"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("删除"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("清空"), this), "Command3");
    Command9 = named(new QPushButton(QStringLiteral("打开"), this), "Command9");
    Command10 = named(new QPushButton(QStringLiteral("另存"), this), "Command10");
    Command11 = named(new QPushButton(QStringLiteral("新建"), this), "Command11");
    Command14 = named(new QPushButton(QStringLiteral("默认"), this), "Command14");
    for (QPushButton* button :
         {Command1, Command2, Command3, Command9, Command10, Command11, Command14})
        editing->addWidget(button);
    layout->addLayout(editing);

    Command7 = named(new QPushButton(QStringLiteral("静态播放选定的预设开播放列表文件"), this),
                     "Command7");
    Command13 = named(new QPushButton(QStringLiteral("动态播放选定的预设开播放列表文件"), this),
                      "Command13");
    layout->addWidget(Command7);
    layout->addWidget(Command13);

    Frame1 = named(new QGroupBox(QStringLiteral("记忆静态播放操作面板"), this), "Frame1");
    auto* memory = new QGridLayout(Frame1);
    memory->addWidget(
        named(new QLabel(QStringLiteral("当前播放文件记忆位置："), Frame1), "Label10"), 0, 0);
    Text6 = named(new QLineEdit(Frame1), "Text6");
    Text6->setAccessibleName(QStringLiteral("当前播放文件记忆位置"));
    memory->addWidget(Text6, 0, 1);
    Command17 = named(new QPushButton(QStringLiteral("设置为此值"), Frame1), "Command17");
    memory->addWidget(Command17, 0, 2);
    Command15 = named(new QPushButton(QStringLiteral("记忆播放"), Frame1), "Command15");
    Command18 = named(new QPushButton(QStringLiteral("暂停播放"), Frame1), "Command18");
    Command19 = named(new QPushButton(QStringLiteral("继续播放"), Frame1), "Command19");
    Command16 = named(new QPushButton(QStringLiteral("播放停止"), Frame1), "Command16");
    memory->addWidget(Command15, 1, 0);
    memory->addWidget(Command18, 1, 1);
    memory->addWidget(Command19, 1, 2);
    memory->addWidget(Command16, 1, 3);
    layout->addWidget(Frame1);

    Timer3 = named(new QTimer(this), "Timer3");
    // The position display shows whole seconds: five looks a second keep it
    // within a fifth of a second of the sound.
    Timer3->setInterval(200);
    Timer4 = named(new QTimer(this), "Timer4");
    Timer4->setInterval(1000);
    resize(460, 620);
}

void PlayerWindow::buildMenus() {
    struct Item {
        const char* name;
        const char* caption;
        void (PlayerWindow::*handler)();
    };
    const auto addMenu = [this](const char* name, const QString& caption,
                                std::initializer_list<Item> items) {
        QMenu* menu = menuBar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        for (const Item& item : items) {
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QLatin1String(item.name));
            connect(action, &QAction::triggered, this, item.handler);
        }
    };
    addMenu("ReadVolume", QStringLiteral("读取音量"),
            {{"ReadFromPLFVolume", "读取当前曲目表音量", &PlayerWindow::ReadFromPLFVolume_Click},
             {"ReadFromSearchDirectoryVolume", "读取当前搜索文件夹音量",
              &PlayerWindow::ReadFromSearchDirectoryVolume_Click}});
    addMenu(
        "ReadBalance", QStringLiteral("读取声道平衡"),
        {{"ReadFromPLFBalance", "读取当前曲目表声道平衡", &PlayerWindow::ReadFromPLFBalance_Click},
         {"ReadFromSearchFileBalance", "读取当前搜索文件夹声道平衡",
          &PlayerWindow::ReadFromSearchFileBalance_Click}});
    addMenu(
        "SaveVolume", QStringLiteral("保存音量"),
        {{"SaveToPLFVolume", "将当前音量保存为曲目表音量", &PlayerWindow::SaveToPLFVolume_Click},
         {"SaveToSearchDirectoryVolume", "将当前音量保存为搜索文件夹音量",
          &PlayerWindow::SaveToSearchDirectoryVolume_Click}});
    addMenu("SaveBalance", QStringLiteral("保存声道平衡"),
            {{"SaveToPLFBalance", "将当前声道平衡保存为曲目表声道平衡",
              &PlayerWindow::SaveToPLFBalance_Click},
             {"SaveToSearchFileBalance", "将当前声道平衡保存为搜索文件夹声道平衡",
              &PlayerWindow::SaveToSearchFileBalance_Click}});
}

void PlayerWindow::connectControls() {
    const std::pair<QPushButton*, void (PlayerWindow::*)()> buttons[] = {
        {Command1, &PlayerWindow::Command1_Click},   {Command2, &PlayerWindow::Command2_Click},
        {Command3, &PlayerWindow::Command3_Click},   {Command5, &PlayerWindow::Command5_Click},
        {Command6, &PlayerWindow::Command6_Click},   {Command7, &PlayerWindow::Command7_Click},
        {Command9, &PlayerWindow::Command9_Click},   {Command10, &PlayerWindow::Command10_Click},
        {Command11, &PlayerWindow::Command11_Click}, {Command13, &PlayerWindow::Command13_Click},
        {Command14, &PlayerWindow::Command14_Click}, {Command15, &PlayerWindow::Command15_Click},
        {Command16, &PlayerWindow::Command16_Click}, {Command17, &PlayerWindow::Command17_Click},
        {Command18, &PlayerWindow::Command18_Click}, {Command19, &PlayerWindow::Command19_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);

    // The order boxes act on a click and never keep a tick of their own.
    for (const auto& [box, handler] :
         {std::pair<QCheckBox*, void (PlayerWindow::*)()>{Check3, &PlayerWindow::Check3_Click},
          {Check4, &PlayerWindow::Check4_Click}})
        connect(box, &QCheckBox::clicked, this, [this, box = box, handler = handler] {
            box->setChecked(false);
            (this->*handler)();
        });
    connect(Check1, &QCheckBox::clicked, this, &PlayerWindow::Check1_Click);

    connect(Slider1, &QSlider::sliderMoved, this,
            [this](int value) { MediaPlayer1->setCurrentPosition(value); });
    connect(Slider2, &QSlider::valueChanged, this,
            [this](int value) { MediaPlayer1->setVolume(value - 5000); });
    connect(Slider3, &QSlider::valueChanged, this,
            [this](int value) { MediaPlayer1->setBalance(value); });
    connect(List1, &QListWidget::itemDoubleClicked, this, &PlayerWindow::List1_DblClick);
    connect(List1, &QListWidget::currentTextChanged, this,
            [this](const QString& text) { List1->setToolTip(List1->count() ? text : QString()); });
    connect(Timer3, &QTimer::timeout, this, &PlayerWindow::Timer3_Timer);
    connect(Timer4, &QTimer::timeout, this, &PlayerWindow::Timer4_Timer);
}

void PlayerWindow::place() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // The size the layout asks for, before the window is first shown.
    if (layout())
        layout()->activate();
    resize(size().expandedTo(minimumSizeHint()));
    const QRect area = screen->availableGeometry();
    const int left = isFront() ? area.left() : area.right() - frameGeometry().width() + 1;
    move(left, area.top() + (area.height() - frameGeometry().height()) / 2);
}

} // namespace campanor
