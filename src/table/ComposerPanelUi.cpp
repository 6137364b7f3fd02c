#include "ActionOptions.h"
#include "ComposerPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace campanor {

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox* numberCombo(QWidget* parent, const char* name, int last) {
    auto* combo = named(new QComboBox(parent), name);
    QStringList numbers;
    for (int i = 1; i <= last; ++i)
        numbers << QString::number(i);
    combo->addItems(numbers);
    // Only its items: nothing typed can reach a day rule.
    combo->setEditable(false);
    combo->setCurrentIndex(-1);
    combo->setMinimumContentsLength(2);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

} // namespace

QWidget* ComposerPanel::buildTimeLists() {
    auto* box = new QGroupBox(QStringLiteral("时间"), this);
    auto* layout = new QGridLayout(box);
    const char* names[] = {"List1", "List2", "List3"};
    const QString headers[] = {QStringLiteral("时"), QStringLiteral("分"), QStringLiteral("秒")};
    QListWidget** lists[] = {&List1, &List2, &List3};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(new QLabel(headers[i], box), 0, i, Qt::AlignHCenter);
        auto* list = named(new QListWidget(box), names[i]);
        list->setFixedWidth(52);
        list->setMinimumHeight(120);
        list->setAccessibleName(headers[i]);
        layout->addWidget(list, 1, i);
        *lists[i] = list;
    }
    return box;
}

QWidget* ComposerPanel::buildDayRules() {
    auto* box = named(new QGroupBox(QStringLiteral("周期"), this), "Frame2");
    auto* rows = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    // One row an option: the option, then its boxes with their unit labels.
    auto row = [&](const char* name, const QString& caption,
                   std::initializer_list<std::pair<QWidget*, QString>> inputs) {
        auto* line = new QHBoxLayout;
        auto* button = named(new QRadioButton(caption, box), name);
        button->setMinimumWidth(64);
        group->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this] { enableDayRuleInputs(); });
        line->addWidget(button);
        for (const auto& [input, unit] : inputs) {
            line->addWidget(input);
            if (!unit.isEmpty())
                line->addWidget(new QLabel(unit, box));
        }
        line->addStretch(1);
        rows->addLayout(line);
        return button;
    };

    Combo5 = named(new QComboBox(box), "Combo5");
    Combo5->addItems({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                      QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                      QStringLiteral("日")});
    Combo5->setCurrentIndex(-1);
    Combo5->setMinimumContentsLength(2);
    Combo6 = numberCombo(box, "Combo6", 31);
    Combo7 = numberCombo(box, "Combo7", 12);
    Combo8 = numberCombo(box, "Combo8", 31);
    Text5 = named(new QLineEdit(box), "Text5");
    Text5->setMaximumWidth(56);
    Text5->setAccessibleName(QStringLiteral("年"));
    Combo9 = numberCombo(box, "Combo9", 12);
    Combo10 = numberCombo(box, "Combo10", 31);

    const QString day = QStringLiteral("日");
    const QString month = QStringLiteral("月");
    Option3 = row("Option3", QStringLiteral("每天"), {});
    Combo5->hide();
    Option4 = row("Option4", QStringLiteral("星期"), {{buildWeekdays(box), QString()}});
    Option5 = row("Option5", QStringLiteral("每月"), {{Combo6, day}});
    Option6 = row("Option6", QStringLiteral("每年"), {{Combo7, month}, {Combo8, day}});
    Option7 = row("Option7", QStringLiteral("指定日期"),
                  {{Text5, QStringLiteral("年")}, {Combo9, month}, {Combo10, day}});
    Option7->setAccessibleName(QStringLiteral("指定日期"));
    // A combo box would read out only its current item.
    const std::pair<QComboBox*, const char*> comboNames[] = {
        {Combo5, "星期几"},     {Combo6, "每月的日子"},     {Combo7, "每年的月份"},
        {Combo8, "每年的日子"}, {Combo9, "指定日期的月份"}, {Combo10, "指定日期的日子"}};
    for (const auto& [combo, name] : comboNames)
        combo->setAccessibleName(QString::fromUtf8(name));

    const std::pair<QWidget*, QRadioButton*> inputs[] = {
        {Combo6, Option5}, {Combo7, Option6},  {Combo8, Option6},   {Text5, Option7},
        {Combo9, Option7}, {Combo10, Option7}, {Workdays, Option4}, {WholeWeek, Option4}};
    for (const auto& [input, option] : inputs)
        dayRuleInputs_[input] = option;
    for (QCheckBox* weekday : Weekdays)
        dayRuleInputs_[weekday] = Option4;
    for (const auto& [input, option] : dayRuleInputs_)
        input->installEventFilter(this);

    Option3->setChecked(true);
    enableDayRuleInputs();
    return box;
}

QWidget* ComposerPanel::buildWeekdays(QWidget* parent) {
    auto* days = new QWidget(parent);
    auto* grid = new QGridLayout(days);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < 7; ++i) {
        auto* day = new QCheckBox(Combo5->itemText(i), days);
        day->setObjectName(QStringLiteral("Weekday%1").arg(i + 1));
        day->setAccessibleName(QStringLiteral("星期") + Combo5->itemText(i));
        grid->addWidget(day, 0, i);
        Weekdays[size_t(i)] = day;
    }
    auto* quick = new QHBoxLayout;
    Workdays = named(new QPushButton(QStringLiteral("工作日"), days), "Workdays");
    Workdays->setToolTip(QStringLiteral("选中星期一至星期五"));
    WholeWeek = named(new QPushButton(QStringLiteral("全周"), days), "WholeWeek");
    WholeWeek->setToolTip(QStringLiteral("选中一周七天"));
    for (QPushButton* button : {Workdays, WholeWeek}) {
        button->setAutoDefault(false);
        quick->addWidget(button);
    }
    quick->addStretch(1);
    grid->addLayout(quick, 1, 0, 1, 7);
    connect(Workdays, &QPushButton::clicked, this, [this] { tickWeekdays(5); });
    connect(WholeWeek, &QPushButton::clicked, this, [this] { tickWeekdays(7); });
    connect(Combo5, &QComboBox::currentIndexChanged, this, [this](int index) {
        for (int i = 0; i < 7; ++i)
            Weekdays[size_t(i)]->setChecked(i == index);
    });
    return days;
}

QWidget* ComposerPanel::buildComment() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("注释"), row);
    Text4 = named(new QLineEdit(row), "Text4");
    Text4->setToolTip(QStringLiteral("注释中不能包含  |  *  >  <  四种字符"));
    label->setBuddy(Text4);
    layout->addWidget(label);
    layout->addWidget(Text4, 1);
    return row;
}

QWidget* ComposerPanel::buildActions() {
    auto* box = named(new QGroupBox(QStringLiteral("响应方式"), this), "Frame1");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(box);
    // Rings, players and folders on the left; switches, power and programs
    // on the right, each with its parameter box beside it.
    const int leftRows = 10;
    int index = 0;
    for (const ActionOption& option : actionOptions()) {
        const int column = index < leftRows ? 0 : 2;
        const int row = index < leftRows ? index : index - leftRows;
        ++index;
        auto* button = named(new QRadioButton(option.caption, box), option.name);
        group->addButton(button);
        options_[QLatin1String(option.name)] = button;
        grid->addWidget(button, row, column);
        if (option.box) {
            auto* edit = named(new QLineEdit(box), option.box);
            // The program box may be given arguments after the program; the
            // others show what their dialog or the folder picker chose.
            edit->setReadOnly(option.source != ParameterSource::Program &&
                              option.source != ParameterSource::Table);
            edit->setMinimumWidth(120);
            edit->setAccessibleName(option.caption);
            boxes_[QLatin1String(option.box)] = edit;
            grid->addWidget(edit, row, column + 1);
        }
        if (option.source == ParameterSource::ChosenRing) {
            // Every press opens the sound dialog, also on the selected option.
            // It opens once the press is handled, so that neither the
            // release nor a programmatic click changes the selection after it.
            connect(button, &QRadioButton::pressed, this, [this, button] {
                const bool wasSelected = button->isChecked();
                button->setDown(false);
                QTimer::singleShot(0, this,
                                   [this, wasSelected] { Option2_MouseDown(wasSelected); });
            });
        } else {
            const ActionOption* chosen = &option;
            connect(button, &QRadioButton::clicked, this,
                    [this, chosen] { actionOption_Click(*chosen); });
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    options_.at(QStringLiteral("Option1"))->setChecked(true);
    return box;
}

} // namespace campanor
