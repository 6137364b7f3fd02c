#pragma once

#include "common/Settings.h"
#include "common/SoundDevice.h"

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace campanor {

class SoundTry;
struct MixerCard;
struct OutputDevice;

// The sound devices (声音设备): the output the players and the ring play
// through and the card whose line input and microphone the schedule
// switches. The devices are looked for on a worker thread; 试听 plays the
// ring on the chosen output; 确定 stores the choice and hands it to `apply`.
class FormSoundDevice : public QDialog {
    Q_OBJECT
  public:
    FormSoundDevice(const QString& programFolder, QString ringPath,
                    std::function<void(const SoundDevice&)> apply, QWidget* parent = nullptr);
    ~FormSoundDevice() override;

    // The choice the lists show now.
    SoundDevice selection() const;
    // The devices have been looked for and listed.
    bool listed() const { return listed_; }

    QListWidget* ListOutput = nullptr;
    QLabel* LabelOutput = nullptr;
    QPushButton* CommandTry = nullptr;
    QLabel* LabelTry = nullptr;
    QTreeWidget* ListCard = nullptr;
    QLabel* LabelCard = nullptr;
    QLabel* LabelNote = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

    void CommandTry_Click();
    void CommandOK_Click();

  signals:
    void devicesListed();

  private:
    void buildWidgets();
    void lookForDevices();
    void showFound(const QList<OutputDevice>& outputs, const QList<MixerCard>& cards);
    void showOutputs(const QList<OutputDevice>& outputs, const QString& selected);
    void showCards(const QList<MixerCard>& cards, const QString& selected);
    void trying(bool on);
    void sayTry(const QString& text, bool failed);

    Settings settings_;
    QString ringPath_;
    std::function<void(const SoundDevice&)> apply_;
    SoundDevice stored_;
    SoundTry* try_ = nullptr;
    bool listed_ = false;
};

} // namespace campanor
