#include "UnattendedPrompter.h"

#include <cstdio>

namespace campanor {

namespace {
void print(const char* kind, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kind, text.toUtf8().constData());
    std::fflush(stderr);
}
} // namespace

Prompter::Answer UnattendedPrompter::message(QWidget*, const QString& text, Icon, Buttons buttons) {
    print("message", text);
    if (buttons == Buttons::OkCancel)
        return Answer::Cancel;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

void UnattendedPrompter::notice(QWidget*, const QString& text, Icon) {
    print("notice", text);
}

std::optional<QString> UnattendedPrompter::input(QWidget*, const QString& prompt, const QString&) {
    print("input", prompt);
    return std::nullopt;
}

} // namespace campanor
