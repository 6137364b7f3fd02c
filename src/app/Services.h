#pragma once

#include <functional>

class QObject;

namespace campanor {

class Prompter;
class FileDialogs;
class Clock;
class AutoStart;
class Power;
class Processes;
class MediaControl;
class ClockHealth;

// The platform seams a main window works through; main() builds the real ones.
struct Services {
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    Clock* clock = nullptr;
    AutoStart* autoStart = nullptr;
    Power* power = nullptr;
    Processes* processes = nullptr;
    // Whether the system clock is synchronised; the warning is left out without it.
    ClockHealth* clockHealth = nullptr;
    // Ends the program at once, without any closing handler.
    std::function<void()> exitNow;
    // The players' media; GStreamer when not set.
    std::function<MediaControl*(QObject*)> makeMedia;
    // How long a volume fade between the players takes.
    int fadeMs = 1500;
};

} // namespace campanor
