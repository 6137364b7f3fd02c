#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace campanor {

void centreOver(QWidget* window, const QWidget* host) {
    if (!window || !host || window->isVisible())
        return;
    window->ensurePolished();
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    QRect place(QPoint(), window->size());
    place.moveCenter(host->frameGeometry().center());
    if (const QScreen* screen = host->screen()) {
        const QRect room = screen->availableGeometry();
        place.moveLeft(std::max(room.left(), std::min(place.left(), room.right() - place.width())));
        place.moveTop(std::max(room.top(), std::min(place.top(), room.bottom() - place.height())));
    }
    window->move(place.topLeft());
}

void bringBack(QWidget* window) {
    if (!window)
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace campanor
