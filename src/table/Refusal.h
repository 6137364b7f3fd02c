#pragma once

#include "common/Prompter.h"

#include <QString>

namespace campanor {

// Why an instruction was not accepted: the message box to show.
struct Refusal {
    QString text;
    Prompter::Icon icon = Prompter::Icon::Warning;
    // The year box is emptied and takes the focus.
    bool resetYear = false;
    // The year box takes the focus.
    bool focusYear = false;

    bool operator==(const Refusal&) const = default;
};

} // namespace campanor
