#pragma once

#include <QString>

class QWidget;

namespace campanor {

// A skin is a Qt style sheet in a .skn file. A window works the same with no skin.
class Skin {
  public:
    bool LoadSkin(const QString& path);
    void ApplySkin(QWidget* window) const;
    const QString& styleSheet() const { return sheet_; }

  private:
    QString sheet_;
    bool loaded_ = false;
};

} // namespace campanor
