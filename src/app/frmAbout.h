#pragma once

#include <QWidget>

class QPushButton;

namespace campanor {

// The About box: the program's name and version, and a way to the system's
// information tool when one is installed.
class frmAbout : public QWidget {
    Q_OBJECT
  public:
    explicit frmAbout(const QString& skinFile, QWidget* parent = nullptr);

    // The first system information tool found on PATH, or empty.
    static QString systemInfoTool();

    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace campanor
