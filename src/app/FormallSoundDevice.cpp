#include "Formall.h"

#include "common/Prompter.h"
#include "common/WindowPlacement.h"
#include "mixer/Class1.h"
#include "players/FormSoundDevice.h"
#include "players/SoundOutput.h"

namespace campanor {

void Formall::useSoundDevice(const SoundDevice& choice) {
    // Said where the operator looks, without waiting for anyone: this runs
    // at the start too, perhaps with nobody at the screen.
    const auto notice = [this](const QString& text) {
        services_.prompter->notice(this,
                                   text + QStringLiteral("。请用菜单“系统 → 声音设备”重新选择。"),
                                   Prompter::Icon::Warning);
    };
    soundOutput::useStored(choice.output, notice);
    Class1::useStoredDevice(choice.mixer, notice);
}

void Formall::MenuSoundDevice_Click() {
    if (!soundDevice_) {
        soundDevice_ = new FormSoundDevice(
            settings_.folder(), DefaultRingPath,
            [this](const SoundDevice& choice) { useSoundDevice(choice); }, this);
        soundDevice_->setAttribute(Qt::WA_DeleteOnClose);
        centreOver(soundDevice_, this);
    }
    bringBack(soundDevice_);
}

} // namespace campanor
