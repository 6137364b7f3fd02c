#pragma once

#include <QWidget>

class QTextBrowser;

namespace campanor {

// The program's own help viewer: vomu.chm is one HTML document whose topics
// are anchors.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);
    void showTopic(const QString& topic);

    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

} // namespace campanor
