#include "Prompter.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

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

// 是 stays left of 否, centred, each of one width whatever the message's
// length or the desktop's button order: a hand that knows where 否 is finds it.
void steadyButtons(QMessageBox* box) {
    box->setStyleSheet(QStringLiteral("QDialogButtonBox { button-layout: 0; }"));
    if (auto* row = box->findChild<QDialogButtonBox*>())
        row->setCenterButtons(true);
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Yes, QStringLiteral("是(&Y)")},
        {QMessageBox::No, QStringLiteral("否(&N)")},
        {QMessageBox::Ok, QStringLiteral("确定")},
        {QMessageBox::Cancel, QStringLiteral("取消")}};
    for (const auto& [which, caption] : captions) {
        if (QAbstractButton* button = box->button(which)) {
            button->setText(caption);
            button->setFixedWidth(88);
        }
    }
}

} // namespace

Prompter::Answer QtPrompter::message(QWidget* parent, const QString& text, Icon icon,
                                     Buttons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo)
        shown = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::OkCancel)
        shown = QMessageBox::Ok | QMessageBox::Cancel;
    // On the heap: a parent closed and deleted while the box waits takes the
    // box with it, and exec() then returns instead of the stack freeing it twice.
    QPointer<QMessageBox> box = new QMessageBox(toQt(icon), kTitle, text, shown, parent);
    if (buttons == Buttons::YesNoDefaultNo)
        box->setDefaultButton(QMessageBox::No);
    steadyButtons(box);
    const int result = box->exec();
    delete box.data();
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return result == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
        break;
    }
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
