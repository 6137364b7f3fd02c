#include "PlayerWindow.h"

#include "VolumeFade.h"
#include "dialogs/FormSelectFiles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QSlider>
#include <QTimer>

namespace campanor {

void PlayerWindow::fadeVolumeTo(int target) {
    fadeSlider(Slider2, target, context_.fadeMs);
}

void PlayerWindow::startDuckedUnderFront() {
    PlayerWindow* front = context_.frontPlayer ? context_.frontPlayer() : nullptr;
    if (!front || !front->OnPlay)
        return;
    // No fade: this list has not been heard yet. The front gives the volume back.
    front->myv = Slider2->value();
    Slider2->setValue(0);
    MediaPlayer1->setMute(true);
}

void PlayerWindow::duckBackPlayer() {
    PlayerWindow* back = context_.backPlayer ? context_.backPlayer() : nullptr;
    if (!back || back->isClosing())
        return;
    myv = back->Slider2->value();
    back->fadeVolumeTo(0);
    back->MediaPlayer1->setMute(true);
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    if (Spot)
        flushMemory();
    Timer3->stop();
    Timer4->stop();
    if (MediaPlayer1->playState() == MediaControl::Playing)
        fadeVolumeTo(0);
    if (isFront()) {
        MediaPlayer1->setMute(true);
        PlayerWindow* back = context_.backPlayer ? context_.backPlayer() : nullptr;
        if (back && back->onShow && !back->isClosing()) {
            back->MediaPlayer1->setMute(back->Check1->isChecked());
            back->fadeVolumeTo(myv);
        }
        OnPlay = false;
    } else {
        onShow = false;
    }
    closeTrack();
    if (picker_)
        picker_->close();
    event->accept();
    emit closed();
    // A handler of this window may still wait in a box: it deletes the
    // window once the box is answered.
    if (modalDepth_ == 0)
        deleteLater();
}

} // namespace campanor
