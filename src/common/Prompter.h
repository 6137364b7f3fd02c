#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace campanor {

// Every message and input box of the system goes through here, so that tests
// can script the answers and read the texts. All boxes carry the title "Campanor".
class Prompter {
  public:
    enum class Icon { None, Information, Warning, Critical, Question };
    // YesNoDefaultNo: a question whose Yes cannot be undone, so that a
    // stray Enter or Space answers No.
    enum class Buttons { Ok, YesNo, OkCancel, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    // Modal: returns the user's answer.
    virtual Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) = 0;
    // Shown without waiting: for messages raised by scheduled actions, which
    // must never hold up the tick.
    virtual void notice(QWidget* parent, const QString& text, Icon icon) = 0;
    // Modal input box; nullopt when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& defaultAnswer) = 0;
};

class QtPrompter : public Prompter {
  public:
    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) override;
    void notice(QWidget* parent, const QString& text, Icon icon) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt,
                                 const QString& defaultAnswer) override;
};

} // namespace campanor
