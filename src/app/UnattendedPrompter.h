#pragma once

#include "common/Prompter.h"

namespace campanor {

// For runs without a person at the screen (CAMPANOR_UNATTENDED=1): every box
// is written to standard error and answered with OK, No or cancel.
class UnattendedPrompter : public Prompter {
  public:
    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) override;
    void notice(QWidget* parent, const QString& text, Icon icon) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt,
                                 const QString& defaultAnswer) override;
};

} // namespace campanor
