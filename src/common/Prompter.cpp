#include "Prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace campanor {

namespace {

const QString kTitle = QStringLiteral("Campanor");

QMessageBox::Icon toQt(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Prompter::Answer QtPrompter::message(QWidget* parent, const QString& text, Icon icon,
                                     Buttons buttons) {
    QMessageBox box(
        toQt(icon), kTitle, text,
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtPrompter::notice(QWidget* parent, const QString& text, Icon icon) {
    auto* box = new QMessageBox(toQt(icon), kTitle, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

std::optional<QString> QtPrompter::input(QWidget* parent, const QString& prompt,
                                         const QString& defaultAnswer) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, kTitle, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

} // namespace campanor
