#include "FormSoundDevice.h"

#include "OutputDevices.h"
#include "SoundTry.h"
#include "common/AsRunLog.h"
#include "mixer/MixerCards.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace campanor {

namespace {

const QString kDefaultOutput = QStringLiteral("默认输出");
const QString kDefaultCard = QStringLiteral("默认：第一块声卡（hw:0）");
// White on red reads in every skin, the dark ones too.
const QString kFailed =
    QStringLiteral("QLabel { color: white; background-color: #c00000; padding: 1px 4px; }");

QString environmentNote(const char* variable, const QString& what) {
    const QString value = qEnvironmentVariable(variable).trimmed();
    if (value.isEmpty())
        return {};
    return QStringLiteral("环境变量 %1 已设置为“%2”：%3使用它，不用这里的选择。\n")
        .arg(QLatin1String(variable), value, what);
}

QLabel* wrappedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

FormSoundDevice::FormSoundDevice(const QString& programFolder, QString ringPath,
                                 std::function<void(const SoundDevice&)> apply, QWidget* parent)
    : QDialog(parent), settings_(programFolder), ringPath_(std::move(ringPath)),
      apply_(std::move(apply)), stored_(readSoundDevice(settings_)) {
    setObjectName(QStringLiteral("FormSoundDevice"));
    setWindowTitle(QStringLiteral("声音设备"));
    buildWidgets();
    try_ = new SoundTry(this);
    connect(try_, &SoundTry::playing, this,
            [this] { sayTry(QStringLiteral("正在播放铃声……"), false); });
    connect(try_, &SoundTry::finished, this, [this](const QString& failure) {
        trying(false);
        if (failure.isEmpty())
            sayTry(QStringLiteral("试听完成：铃声已送到所选输出。"), false);
        else
            sayTry(QStringLiteral("试听失败：") + failure, true);
    });
    // Until the devices are found the stored choice stands, so that 确定
    // before then changes nothing.
    showOutputs({}, stored_.output);
    showCards({}, stored_.mixer);
    lookForDevices();
}

FormSoundDevice::~FormSoundDevice() = default;

void FormSoundDevice::buildWidgets() {
    auto* outputBox = new QGroupBox(QStringLiteral("输出（铃声、前置和后置播音器）"), this);
    ListOutput = new QListWidget(outputBox);
    ListOutput->setObjectName(QStringLiteral("ListOutput"));
    ListOutput->setAccessibleName(QStringLiteral("声音输出"));
    LabelOutput = wrappedLabel("LabelOutput", outputBox);
    CommandTry = new QPushButton(QStringLiteral("试听(&T)"), outputBox);
    CommandTry->setObjectName(QStringLiteral("CommandTry"));
    connect(CommandTry, &QPushButton::clicked, this, &FormSoundDevice::CommandTry_Click);
    LabelTry = wrappedLabel("LabelTry", outputBox);
    auto* tryRow = new QHBoxLayout;
    tryRow->addWidget(CommandTry);
    tryRow->addWidget(LabelTry, 1);
    auto* outputLayout = new QVBoxLayout(outputBox);
    outputLayout->addWidget(ListOutput);
    outputLayout->addWidget(LabelOutput);
    outputLayout->addLayout(tryRow);

    auto* cardBox = new QGroupBox(QStringLiteral("混音器声卡（线路输入和麦克风的开关）"), this);
    ListCard = new QTreeWidget(cardBox);
    ListCard->setObjectName(QStringLiteral("ListCard"));
    ListCard->setAccessibleName(QStringLiteral("混音器声卡"));
    ListCard->setRootIsDecorated(false);
    ListCard->setHeaderLabels({QStringLiteral("声卡"), QStringLiteral("线路输入"),
                               QStringLiteral("麦克风"), QStringLiteral("混音器元件")});
    ListCard->header()->setStretchLastSection(true);
    LabelCard = wrappedLabel("LabelCard", cardBox);
    auto* cardLayout = new QVBoxLayout(cardBox);
    cardLayout->addWidget(ListCard);
    cardLayout->addWidget(LabelCard);

    LabelNote = wrappedLabel("LabelNote", this);
    LabelNote->setText(
        environmentNote("CAMPANOR_AUDIO_SINK", QStringLiteral("播音器和铃声")) +
        environmentNote("CAMPANOR_MIXER_DEVICE", QStringLiteral("线路输入和麦克风的开关")) +
        QStringLiteral("确定后，之后启动的播音器和下一次铃声使用所选的输出，"
                       "线路输入和麦克风的开关立即使用所选的声卡。"));

    CommandOK = new QPushButton(QStringLiteral("确定"), this);
    CommandOK->setObjectName(QStringLiteral("CommandOK"));
    CommandOK->setDefault(true);
    connect(CommandOK, &QPushButton::clicked, this, &FormSoundDevice::CommandOK_Click);
    CommandCancel = new QPushButton(QStringLiteral("取消"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outputBox, 1);
    layout->addWidget(cardBox, 1);
    layout->addWidget(LabelNote);
    layout->addLayout(buttons);
    resize(620, 500);
}

void FormSoundDevice::lookForDevices() {
    LabelOutput->setText(QStringLiteral("正在查找声音输出……"));
    LabelCard->setText(QStringLiteral("正在查找声卡……"));
    struct Found {
        QList<OutputDevice> outputs;
        QList<MixerCard> cards;
    };
    // The sound servers and the cards can take a good while to answer. The
    // application's own pool waits for the listing when the program ends, so
    // no plug-in is being loaded while the process is taken down.
    auto found = std::make_shared<Found>();
    const QPointer<FormSoundDevice> window(this);
    QThreadPool::globalInstance()->start([found, window] {
        found->outputs = listOutputDevices();
        found->cards = listMixerCards();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [found, window] {
                if (window)
                    window->showFound(found->outputs, found->cards);
            },
            Qt::QueuedConnection);
    });
}

void FormSoundDevice::showFound(const QList<OutputDevice>& outputs, const QList<MixerCard>& cards) {
    const SoundDevice chosen = selection();
    listed_ = true;
    showOutputs(outputs, chosen.output);
    showCards(cards, chosen.mixer);
    LabelOutput->setText(outputs.isEmpty()
                             ? QStringLiteral("没有找到其他声音输出。")
                             : QStringLiteral("找到 %1 个声音输出。").arg(outputs.size()));
    LabelCard->setText(cards.isEmpty() ? QStringLiteral("没有找到能打开混音器的声卡。")
                                       : QStringLiteral("找到 %1 块声卡。").arg(cards.size()));
    emit devicesListed();
}

void FormSoundDevice::showOutputs(const QList<OutputDevice>& outputs, const QString& selected) {
    ListOutput->clear();
    auto add = [this, &selected](const QString& text, const QString& description) {
        auto* item = new QListWidgetItem(text, ListOutput);
        item->setData(Qt::UserRole, description);
        item->setToolTip(description.isEmpty() ? QStringLiteral("系统的默认声音输出")
                                               : description);
        if (description == selected)
            ListOutput->setCurrentItem(item);
    };
    add(kDefaultOutput, QString());
    bool present = selected.isEmpty();
    for (const OutputDevice& output : outputs) {
        add(output.name, output.description);
        present = present || output.description == selected;
    }
    // A stored output that is not there now stays on the list, and chosen.
    if (!present)
        add(listed_ ? selected + QStringLiteral("（未找到）") : selected, selected);
}

void FormSoundDevice::showCards(const QList<MixerCard>& cards, const QString& selected) {
    ListCard->clear();
    auto add = [this, &selected](const QStringList& cells, const QString& device) {
        auto* item = new QTreeWidgetItem(ListCard, cells);
        item->setData(0, Qt::UserRole, device);
        item->setToolTip(0, device.isEmpty() ? QStringLiteral("hw:0") : device);
        item->setToolTip(3, cells.value(3));
        if (device == selected)
            ListCard->setCurrentItem(item);
    };
    add({kDefaultCard}, QString());
    bool present = selected.isEmpty();
    const QString yes = QStringLiteral("有开关");
    const QString no = QStringLiteral("没有");
    for (const MixerCard& card : cards) {
        const QString shown = card.name == card.device
                                  ? card.device
                                  : QStringLiteral("%1（%2）").arg(card.name, card.device);
        add({shown, card.lineSwitch ? yes : no, card.micSwitch ? yes : no,
             card.elements.join(QStringLiteral("、"))},
            card.device);
        present = present || card.device == selected;
    }
    if (!present)
        add({listed_ ? selected + QStringLiteral("（未找到）") : selected}, selected);
    for (int column = 0; column < 3; ++column)
        ListCard->resizeColumnToContents(column);
}

SoundDevice FormSoundDevice::selection() const {
    SoundDevice choice;
    if (const QListWidgetItem* item = ListOutput->currentItem())
        choice.output = item->data(Qt::UserRole).toString();
    if (const QTreeWidgetItem* item = ListCard->currentItem())
        choice.mixer = item->data(0, Qt::UserRole).toString();
    return choice;
}

void FormSoundDevice::trying(bool on) {
    CommandTry->setText(on ? QStringLiteral("停止(&T)") : QStringLiteral("试听(&T)"));
}

void FormSoundDevice::sayTry(const QString& text, bool failed) {
    LabelTry->setText(text);
    LabelTry->setStyleSheet(failed ? kFailed : QString());
}

void FormSoundDevice::CommandTry_Click() {
    if (try_->running()) {
        try_->stop();
        trying(false);
        sayTry(QStringLiteral("试听已停止。"), false);
        return;
    }
    const QString output = selection().output;
    trying(true);
    sayTry(QStringLiteral("正在打开输出……"), false);
    try_->start(ringPath_, output.isEmpty() ? QStringLiteral("autoaudiosink") : output);
}

void FormSoundDevice::CommandOK_Click() {
    const SoundDevice choice = selection();
    if (!writeSoundDevice(settings_, choice)) {
        const QString text = QStringLiteral("无法保存到 %1，声音设备没有改变。")
                                 .arg(settings_.path(file::SoundDevice));
        reportProblem(QStringLiteral("声音设备：") + text);
        LabelNote->setText(text);
        LabelNote->setStyleSheet(kFailed);
        return;
    }
    AsRunLog::write(QStringLiteral("声音设备：选择了输出“%1”，混音器声卡“%2”")
                        .arg(choice.output.isEmpty() ? kDefaultOutput : choice.output,
                             choice.mixer.isEmpty() ? QStringLiteral("hw:0") : choice.mixer));
    if (apply_)
        apply_(choice);
    accept();
}

} // namespace campanor
