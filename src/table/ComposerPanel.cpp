#include "ComposerPanel.h"

#include "ActionOptions.h"
#include "common/FileDialogs.h"
#include "common/ProgramFolder.h"
#include "common/Prompter.h"
#include "common/SoundFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace campanor {

namespace {

const QString kTableFilter = QStringLiteral("指令表(*.DTT)|*.DTT");

QString selectedText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

} // namespace

ComposerPanel::ComposerPanel(Host host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
    setObjectName(QStringLiteral("ComposerPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(buildTimeLists());
    top->addWidget(buildDayRules(), 1);
    layout->addLayout(top);
    layout->addWidget(buildComment());
    layout->addWidget(buildActions(), 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("增加"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &ComposerPanel::Command1_Click);
    // Enter anywhere in the composer adds, as the button does.
    Command1->setToolTip(QStringLiteral("增加这条指令（Enter）"));
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), this, nullptr, nullptr,
                                    Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, Command1, &QPushButton::click);
    }
}

void ComposerPanel::fillTimeLists() {
    for (QListWidget* list : {List1, List2, List3}) {
        list->clear();
        const int count = list == List1 ? 24 : 60;
        QStringList items;
        for (int i = 0; i < count; ++i)
            items << QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
        list->addItems(items);
    }
}

QRadioButton* ComposerPanel::option(const QString& name) const {
    const auto found = options_.find(name);
    return found == options_.end() ? nullptr : found->second;
}

QLineEdit* ComposerPanel::parameterBox(const QString& name) const {
    const auto found = boxes_.find(name);
    return found == boxes_.end() ? nullptr : found->second;
}

const ActionOption* ComposerPanel::selectedAction() const {
    for (const ActionOption& candidate : actionOptions())
        if (option(QLatin1String(candidate.name))->isChecked())
            return &candidate;
    return nullptr;
}

void ComposerPanel::enableDayRuleInputs() {
    Combo5->setEnabled(Option4->isChecked());
    for (QCheckBox* day : Weekdays)
        day->setEnabled(Option4->isChecked());
    Workdays->setEnabled(Option4->isChecked());
    WholeWeek->setEnabled(Option4->isChecked());
    Combo6->setEnabled(Option5->isChecked());
    Combo7->setEnabled(Option6->isChecked());
    Combo8->setEnabled(Option6->isChecked());
    Text5->setEnabled(Option7->isChecked());
    Combo9->setEnabled(Option7->isChecked());
    Combo10->setEnabled(Option7->isChecked());
}

void ComposerPanel::actionOption_Click(const ActionOption& chosen) {
    switch (chosen.source) {
    case ParameterSource::Playlist:
    case ParameterSource::Program:
    case ParameterSource::Table:
        chooseFile(chosen);
        break;
    case ParameterSource::SearchFolder:
        if (host_.showFolderPicker)
            host_.showFolderPicker();
        break;
    default:
        break;
    }
}

QString ComposerPanel::askFile(const ActionOption& chosen) {
    QWidget* parent = window();
    switch (chosen.source) {
    case ParameterSource::Playlist:
        return host_.dialogs->openFile(
            parent, QStringLiteral("请选择播放列表文件:"),
            joinPath(host_.programFolder, QStringLiteral("PlayListFile")), kPlaylistFilter);
    case ParameterSource::Program:
        // Windows asked for *.exe and *.com: here any file with the execute bit.
        return host_.dialogs->openProgram(
            parent, QStringLiteral("请选择要执行的可执行文件名：(*.com,*.exe):"),
            QStringLiteral("/"), QStringLiteral("所有的可执行文件"));
    case ParameterSource::Table:
        return host_.dialogs->openFile(
            parent, QStringLiteral("请选择要打开的指令表："),
            joinPath(host_.programFolder, QStringLiteral("DayTimeTable")), kTableFilter);
    default:
        return {};
    }
}

void ComposerPanel::chooseFile(const ActionOption& chosen) {
    QLineEdit* box = parameterBox(QLatin1String(chosen.box));
    if (chosen.source == ParameterSource::Playlist)
        PlaylistParameter.clear();
    QString path = askFile(chosen);
    if (!path.isEmpty()) {
        if (const auto refused = checkChosenPath(path)) {
            refuse(*refused);
            path.clear();
        }
    }
    if (path.isEmpty()) {
        box->clear();
        box->setToolTip(QString());
        option(QStringLiteral("Option1"))->setChecked(true);
        return;
    }
    if (chosen.source == ParameterSource::Playlist)
        PlaylistParameter = path;
    else if (chosen.source == ParameterSource::Program)
        path = programCommandLine(path);
    box->setText(path);
    box->setToolTip(path);
}

void ComposerPanel::Option2_MouseDown(bool wasSelected) {
    QRadioButton* button = option(QStringLiteral("Option2"));
    button->setChecked(true);
    QString path = host_.dialogs->openFile(window(), QStringLiteral("请选择内部铃声："),
                                           host_.programFolder, soundFileFilter());
    if (!path.isEmpty()) {
        if (const auto refused = checkChosenPath(path)) {
            refuse(*refused);
            path.clear();
        }
    }
    if (!path.isEmpty()) {
        ChosenRingPath = path;
        return;
    }
    if (!wasSelected) {
        ChosenRingPath = host_.builtInRingPath();
        option(QStringLiteral("Option1"))->setChecked(true);
    }
}

bool ComposerPanel::setSearchFolderParameter(const QString& folder) {
    if (const auto refused = checkChosenPath(folder)) {
        refuse(*refused);
        return false;
    }
    SearchPath = folder;
    for (const ActionOption& candidate : actionOptions()) {
        if (candidate.source != ParameterSource::SearchFolder ||
            !option(QLatin1String(candidate.name))->isChecked())
            continue;
        QLineEdit* box = parameterBox(QLatin1String(candidate.box));
        box->setText(folder);
        box->setToolTip(folder);
        break;
    }
    return true;
}

ComposerInput ComposerPanel::input() const {
    ComposerInput in;
    in.hour = selectedText(List1);
    in.minute = selectedText(List2);
    in.second = selectedText(List3);
    in.comment = Text4->text();
    in.rule = Option4->isChecked()   ? DayRuleKind::Weekday
              : Option5->isChecked() ? DayRuleKind::DayOfMonth
              : Option6->isChecked() ? DayRuleKind::DayOfYear
              : Option7->isChecked() ? DayRuleKind::Date
                                     : DayRuleKind::EveryDay;
    for (const QCheckBox* day : Weekdays)
        if (day->isChecked())
            in.weekdays << day->text();
    in.weekday = in.weekdays.value(0);
    in.monthDay = Combo6->currentText();
    in.month = Combo7->currentText();
    in.day = Combo8->currentText();
    in.year = Text5->text();
    in.dateMonth = Combo9->currentText();
    in.dateDay = Combo10->currentText();
    in.action = selectedAction();
    if (!in.action)
        return in;
    if (in.action->box)
        in.parameterBox = parameterBox(QLatin1String(in.action->box))->text();
    switch (in.action->source) {
    case ParameterSource::DefaultRing:
        in.parameter = host_.defaultRingPath();
        break;
    case ParameterSource::ChosenRing:
        in.parameter = ChosenRingPath;
        break;
    case ParameterSource::Playlist:
        in.parameter = PlaylistParameter;
        break;
    case ParameterSource::Program:
    case ParameterSource::Table:
        in.parameter = in.parameterBox;
        break;
    case ParameterSource::SearchFolder:
    case ParameterSource::None:
        break;
    }
    return in;
}

void ComposerPanel::refuse(const Refusal& refusal) {
    if (refusal.resetYear)
        Text5->clear();
    host_.prompter->message(window(), refusal.text, refusal.icon, Prompter::Buttons::Ok);
    if (refusal.focusYear)
        Text5->setFocus();
}

void ComposerPanel::Command1_Click() {
    const QStringList lines = host_.loadedLines();
    const ComposedSet composed = composeInstructions(input(), lines);
    if (composed.refusal) {
        refuse(*composed.refusal);
        return;
    }
    // Several lines are stored in one write: all of them or none.
    RealString = composed.realStrings.join(QString());
    if (confirmAdding(composed.realStrings) && !host_.commit(RealString)) {
        // Nothing was stored: keep what the user set up, so that it can be tried again.
        host_.prompter->message(window(), kNotStoredMessage, Prompter::Icon::Critical,
                                Prompter::Buttons::Ok);
        return;
    }
    reset();
}

bool ComposerPanel::confirmAdding(const QStringList& realStrings) {
    QString question = QStringLiteral("你要增加[") + realStrings.value(0) + QStringLiteral("]吗?");
    if (realStrings.size() > 1) {
        question = QStringLiteral("你要增加以下%1条指令吗?").arg(realStrings.size());
        for (const QString& realString : realStrings)
            question += QStringLiteral("\n[") + realString + u']';
    }
    return host_.prompter->message(window(), question, Prompter::Icon::Question,
                                   Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

void ComposerPanel::tickWeekdays(int count) {
    for (int i = 0; i < 7; ++i)
        Weekdays[size_t(i)]->setChecked(i < count);
}

bool ComposerPanel::eventFilter(QObject* watched, QEvent* event) {
    // A disabled box takes no click: the click chooses its rule, so the
    // operator need not find the option button first.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto input = dayRuleInputs_.find(watched);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (input != dayRuleInputs_.end() && widget && !widget->isEnabled()) {
            input->second->setChecked(true);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ComposerPanel::reset() {
    Text4->clear();
    for (auto& [name, box] : boxes_) {
        box->clear();
        box->setToolTip(QString());
    }
    option(QStringLiteral("Option1"))->setChecked(true);
}

} // namespace campanor
