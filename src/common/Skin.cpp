#include "Skin.h"

#include <QFile>
#include <QWidget>

namespace campanor {

bool Skin::LoadSkin(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    sheet_ = QString::fromUtf8(file.readAll());
    loaded_ = true;
    return true;
}

void Skin::ApplySkin(QWidget* window) const {
    if (loaded_ && window)
        window->setStyleSheet(sheet_);
}

} // namespace campanor
