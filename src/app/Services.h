#pragma once

#include <functional>

namespace campanor {

class Prompter;
class FileDialogs;
class Clock;
class AutoStart;
class Power;
class Processes;

// The platform seams a main window works through; main() builds the real ones.
struct Services {
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    Clock* clock = nullptr;
    AutoStart* autoStart = nullptr;
    Power* power = nullptr;
    Processes* processes = nullptr;
    // Ends the program at once, without any closing handler.
    std::function<void()> exitNow;
};

} // namespace campanor
