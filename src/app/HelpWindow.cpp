#include "HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace campanor {

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Campanor 帮助"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    browser_->setAccessibleName(QStringLiteral("帮助内容"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    QFile file(helpFile);
    if (file.open(QIODevice::ReadOnly))
        browser_->setHtml(QString::fromUtf8(file.readAll()));
    else
        browser_->setPlainText(QStringLiteral("找不到帮助文件：") + helpFile);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& topic) {
    browser_->scrollToAnchor(topic);
}

} // namespace campanor
